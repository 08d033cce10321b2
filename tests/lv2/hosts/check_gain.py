"""check_gain.py IN OUT CLIP: OUT must be IN clipped at +-CLIP and scaled by 1/CLIP, exactly
(16-bit samples, read as n / 32768 and written as x * 32767, as libsndfile converts them)."""
import struct
import sys
import wave


def samples(path):
    with wave.open(path) as wav:
        assert wav.getsampwidth() == 2, "16-bit files expected"
        data = wav.readframes(wav.getnframes())
    return struct.unpack(f"<{len(data) // 2}h", data)


source, result, clip = samples(sys.argv[1]), samples(sys.argv[2]), float(sys.argv[3])
assert len(source) == len(result), f"{len(result)} samples out for {len(source)} in"
wrong = 0
for x, y in zip(source, result):
    expected = max(-clip, min(clip, x / 32768.0)) / clip
    want = round(expected * 32767)
    wrong += y != want
print(f"{len(result)} samples, {wrong} differ from the clip at {clip} and gain {1 / clip:g}")
sys.exit(1 if wrong else 0)
