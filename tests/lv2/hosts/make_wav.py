"""Writes a 16-bit stereo WAV of fixed sample values for a render check."""
import struct
import sys
import wave

values = [0.25, 0.75, -0.75, -0.25, 0.125, 0.5, -0.5, 0.0, 0.1, -0.3]
with wave.open(sys.argv[1], "wb") as wav:
    wav.setnchannels(2)
    wav.setsampwidth(2)
    wav.setframerate(48000)
    samples = [max(-32768, min(32767, round(v * 32768))) for v in values * 1000]
    wav.writeframes(b"".join(struct.pack("<hh", s, s) for s in samples))
