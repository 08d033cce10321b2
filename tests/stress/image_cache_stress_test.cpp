// Two editors drawing the same undecoded image for the first time at once, round after round:
// both get the one bitmap the cache keeps, decoded once or twice, never torn. Under
// ThreadSanitizer any unguarded step of the hand-over is reported.

#include "tests/editor/EditorTestSupport.h"
#include "tests/support/KnobResource.h"

#include "editor/FrameCache.h"
#include "editor/ImageCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {
constexpr int kRounds = 200;
constexpr int kFirstId = 9400;
constexpr int kSide = 16;

// Every id has a header size and decodes to a solid picture; decodes are counted across threads.
class CountingEditor : public IOffscreenEditor {
public:
  explicit CountingEditor(std::atomic<int>* decodes)
      : IOffscreenEditor(nullptr, 560, 400, 25), decodes(decodes) {}
  bool ImageResourceSize(int, const char*, int* width, int* height) override {
    *width = kSide;
    *height = kSide;
    return true;
  }
  std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char*) override {
    ++*decodes;
    return SolidBitmap(kSide, kSide, 0xFF000000u | static_cast<std::uint32_t>(id));
  }

private:
  std::atomic<int>* decodes;
};
} // namespace

TEST(ImageCacheStress, TwoEditorsDecodingAtOnceShareOneBitmap) {
  std::atomic<int> decodes{0};
  CountingEditor first(&decodes);
  CountingEditor second(&decodes);
  for (int round = 0; round < kRounds; ++round) {
    const int id = kFirstId + round;
    const IImageStrip a = first.LoadImageStrip(id, "picture.png", 1);
    const IImageStrip b = second.LoadImageStrip(id, "picture.png", 1);
    ASSERT_EQ(a.image, b.image);
    std::atomic<int> ready{0};
    RasterBitmap* seenByFirst = nullptr;
    RasterBitmap* seenBySecond = nullptr;
    const auto draw = [&ready](CountingEditor& editor, const IImageStrip& strip,
                               RasterBitmap** seen) {
      ++ready;
      while (ready.load() < 2) {
        std::this_thread::yield();
      }
      *seen = editor.StripBitmap(strip);
    };
    std::thread one(draw, std::ref(first), std::cref(a), &seenByFirst);
    std::thread two(draw, std::ref(second), std::cref(b), &seenBySecond);
    one.join();
    two.join();
    ASSERT_NE(seenByFirst, nullptr);
    ASSERT_EQ(seenByFirst, seenBySecond);
    EXPECT_EQ(seenByFirst->PixelData()[kSide + 1], 0xFF000000u | static_cast<std::uint32_t>(id));
  }
  EXPECT_GE(decodes.load(), kRounds);
  EXPECT_LE(decodes.load(), 2 * kRounds);
}

// Two editors turning the knob through a frame cache that holds only a few frames: each reads
// the rows it was given while the other's requests push them out of the cache.
TEST(ImageCacheStress, FramesStayReadableWhileAnotherEditorPushesThemOut) {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  ASSERT_TRUE(FindModuleResource(KnobResourceId, "PNG", &data, &size));
  ICachedImage knob(9399, "knob.png", 192, 92158, RasterSegmentedPng::Open(data, size));
  ASSERT_NE(knob.Segments(), nullptr);
  const RasterSegmentedPng& segments = *knob.Segments();
  IFrameCache cache(4 * 192 * 192 * 4);
  const auto turn = [&](int start, int step) {
    for (int i = 0; i < 120; ++i) {
      const int segment = (start + i * step) % segments.SegmentCount();
      const IFrameCache::Rows rows =
          cache.Find(knob, segments.SegmentFirstRow(segment), segments.SegmentEndRow(segment));
      ASSERT_NE(rows.bitmap, nullptr);
      ASSERT_EQ(rows.firstRow, segments.SegmentFirstRow(segment));
      ASSERT_EQ(rows.bitmap->Height(),
                segments.SegmentEndRow(segment) - segments.SegmentFirstRow(segment));
      // A frame's first row is clear in the strip.
      ASSERT_EQ(rows.bitmap->PixelData()[96] >> 24, 0u);
    }
  };
  std::thread one(turn, 0, 1);
  std::thread two(turn, 7, 3);
  one.join();
  two.join();
  EXPECT_LE(cache.HeldBytes(), 4u * 192 * 192 * 4);
}
