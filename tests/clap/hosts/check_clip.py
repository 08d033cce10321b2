"""check_clip.py IN OUT AMOUNT: OUT (a recording of the track) must be IN clipped at the amount's
level and scaled back to full level, up to the recordings' 16 bits and a delay between them."""
import struct
import sys
import wave


def samples(path):
    with wave.open(path) as wav:
        width, channels = wav.getsampwidth(), wav.getnchannels()
        data = wav.readframes(wav.getnframes())
    assert width == 2, "16-bit recordings expected"
    values = struct.unpack(f"<{len(data) // 2}h", data)
    return [v / 32768.0 for v in values[::channels]]


source, result, amount = samples(sys.argv[1]), samples(sys.argv[2]), float(sys.argv[3])
level = 1.0 - amount / 100.0
expected = [max(-level, min(level, x)) / level for x in source]
peak_in = max(abs(x) for x in source)
peak_out = max(abs(y) for y in result)
peak_expected = max(abs(x) for x in expected)
print(f"input peak {peak_in:.3f}, output peak {peak_out:.3f}, expected {peak_expected:.3f}")
sys.exit(0 if peak_in > 0.01 and abs(peak_out - peak_expected) < 0.02 else 1)
