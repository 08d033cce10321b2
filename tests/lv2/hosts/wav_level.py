"""wav_level.py FILE: the most common sample value of a PCM WAV file, to 3 decimals (Ardour's
16-bit export adds dither of a bit or two)."""
import collections
import sys
import wave

with wave.open(sys.argv[1]) as wav:
    width = wav.getsampwidth()
    data = wav.readframes(wav.getnframes())
scale = float(1 << (8 * width - 1))
values = (int.from_bytes(data[i:i + width], "little", signed=True) / scale
          for i in range(0, len(data), width))
print(f"{collections.Counter(round(v, 3) for v in values).most_common(1)[0][0]:.3f}")
