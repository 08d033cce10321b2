// The knob strip is drawn from the segments holding its frame, never decoded whole, and shows
// the same pixels as the whole strip would. The ids are aliases of the knob's resource used by
// no other test of the program, so the process-wide caches start empty for them.

#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/TestPlugin.h"
#include "tests/support/KnobResource.h"

#include "editor/FrameCache.h"
#include "editor/ImageCache.h"
#include "editor/KnobControl.h"
#include "raster/RasterBlit.h"
#include "raster/RasterPngResource.h"
#include "raster/RasterSegmentedPng.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
constexpr int kKnobSize = 192;
constexpr int kKnobFrameHeight = 191;
const char* const kKnobName = "resources/img/knob.png";

// Where the data of the type's chunk number n (from 0) begins.
std::size_t ChunkData(const std::vector<std::uint8_t>& png, const char* type, int n) {
  std::size_t position = 8;
  while (position + 8 <= png.size()) {
    const std::size_t length = (std::size_t(png[position]) << 24) |
                               (std::size_t(png[position + 1]) << 16) |
                               (std::size_t(png[position + 2]) << 8) | png[position + 3];
    if (std::memcmp(&png[position + 4], type, 4) == 0 && n-- == 0) {
      return position + 8;
    }
    position += 12 + length;
  }
  return 0;
}

RasterMemBitmap& WholeKnob() {
  static const std::unique_ptr<RasterMemBitmap> whole =
      RasterLoadPngResource(KnobResourceId, kKnobName);
  return *whole;
}

// An editor of one knob's size whose image ids stand for the knob's resource; its segments may
// come from damaged bytes.
class KnobEditor : public TestEditor {
public:
  explicit KnobEditor(IAudioPlugin* plugin) : TestEditor(plugin, kKnobSize, kKnobFrameHeight) {}
  std::unique_ptr<RasterBitmap> LoadImageResource(int id, const char* fileName) override {
    ++loads[id];
    return RasterLoadPngResource(KnobResourceId, fileName);
  }
  bool ImageResourceSize(int, const char* fileName, int* width, int* height) override {
    return RasterPngResourceSize(KnobResourceId, fileName, width, height);
  }
  std::unique_ptr<RasterSegmentedPng> OpenImageSegments(int, const char*) override {
    return RasterSegmentedPng::Open(segmentBytes.data(), segmentBytes.size());
  }
  std::vector<std::uint8_t> segmentBytes = KnobResourceBytes();
};

// The knob at value over black, drawn by the editor, equals the whole strip's frame drawn so.
::testing::AssertionResult DrawsAsTheWholeStrip(KnobEditor& editor, IFilmstripKnob& knob,
                                                double value) {
  knob.ShowValue(value);
  editor.Fill(0xFF000000u);
  editor.RedrawAll();
  RasterMemBitmap reference(kKnobSize, kKnobFrameHeight);
  RasterFillArea(&reference, 0, 0, kKnobSize, kKnobFrameHeight, 0xFF000000u, 1.0f, RASTER_OP_COPY);
  const int top = knob.Strip().SourceRowFor(value);
  const RasterRect source{0, top, kKnobSize, top + kKnobFrameHeight};
  RasterCopyArea(&reference, &WholeKnob(), 0, 0, &source, 1.0f,
                 RASTER_OP_COPY | RASTER_OP_SRC_ALPHA);
  for (int y = 0; y < kKnobFrameHeight; ++y) {
    for (int x = 0; x < kKnobSize; ++x) {
      if (editor.Pixel(x, y) != reference.PixelData()[y * reference.RowSpan() + x]) {
        return ::testing::AssertionFailure()
               << "value " << value << " differs at " << x << "," << y;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class KnobFramesTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_FALSE(editor.segmentBytes.empty()); }
  IFilmstripKnob* AddKnob(int id) {
    strip = editor.LoadImageStrip(id, kKnobName, KnobFrameCount);
    auto* knob = new IFilmstripKnob(&plugin, 0, 0, -1, strip, IKnobControl::Vertical, 4.0);
    editor.AddControl(knob);
    editor.PrepareDrawing();
    return knob;
  }
  TestPlugin plugin;
  KnobEditor editor{&plugin};
  IImageStrip strip;
};
} // namespace

TEST_F(KnobFramesTest, FramesAreDrawnFromTheirSegmentsAsFromTheWholeStrip) {
  IFilmstripKnob* knob = AddKnob(9801);
  // Found when first drawn, not when the editor is built.
  EXPECT_TRUE(strip.image->SegmentsUnknown());
  for (double value : {0.0, 0.5, 1.0, 0.37, 1.0 / 479}) {
    EXPECT_TRUE(DrawsAsTheWholeStrip(editor, *knob, value));
  }
  EXPECT_NE(strip.image->Segments(), nullptr);
  EXPECT_EQ(editor.loads[9801], 0);
  EXPECT_EQ(strip.image->Bitmap(), nullptr);
}

TEST_F(KnobFramesTest, AFrameThatDoesNotDecodeIsDrawnFromTheWholeStrip) {
  // A flipped bit in frame 6's data: its checksum no longer holds.
  editor.segmentBytes[ChunkData(editor.segmentBytes, "IDAT", 5) + 40] ^= 0x10;
  IFilmstripKnob* knob = AddKnob(9802);
  EXPECT_TRUE(DrawsAsTheWholeStrip(editor, *knob, 0.0));
  EXPECT_EQ(editor.loads[9802], 0);
  EXPECT_TRUE(DrawsAsTheWholeStrip(editor, *knob, 5.0 / 479));
  EXPECT_EQ(editor.loads[9802], 1);
  EXPECT_EQ(strip.image->Segments(), nullptr);
  EXPECT_TRUE(DrawsAsTheWholeStrip(editor, *knob, 1.0));
  EXPECT_EQ(editor.loads[9802], 1);
}

TEST(FrameCache, ASweepKeepsWithinTheBudgetAndRowsInUseStayValid) {
  const std::vector<std::uint8_t> bytes = KnobResourceBytes();
  ICachedImage image(9803, kKnobName, kKnobSize, 92158,
                     RasterSegmentedPng::Open(bytes.data(), bytes.size()));
  ASSERT_NE(image.Segments(), nullptr);
  const std::size_t budget = 1u << 20;
  IFrameCache cache(budget);
  const IFrameCache::Rows first = cache.Find(image, 0, kKnobFrameHeight);
  ASSERT_NE(first.bitmap, nullptr);
  EXPECT_EQ(cache.Find(image, 10, 20).bitmap, first.bitmap);
  const RasterSegmentedPng& segments = *image.Segments();
  IFrameCache::Rows last;
  for (int segment = 0; segment < segments.SegmentCount(); ++segment) {
    last = cache.Find(image, segments.SegmentFirstRow(segment), segments.SegmentEndRow(segment));
    ASSERT_NE(last.bitmap, nullptr);
    ASSERT_EQ(last.firstRow, segments.SegmentFirstRow(segment));
    ASSERT_LE(cache.HeldBytes(), budget);
  }
  // The most recent frame is still cached; the first went long ago, but the rows held here
  // stay readable and a new request decodes it again.
  EXPECT_EQ(cache.Find(image, last.firstRow, last.firstRow + 1).bitmap, last.bitmap);
  const IFrameCache::Rows again = cache.Find(image, 0, kKnobFrameHeight);
  EXPECT_NE(again.bitmap, first.bitmap);
  EXPECT_EQ(first.bitmap->PixelData()[100 * first.bitmap->RowSpan() + 96],
            again.bitmap->PixelData()[100 * again.bitmap->RowSpan() + 96]);
  // A request across two frames takes both segments as one run.
  const IFrameCache::Rows across = cache.Find(image, 150, 250);
  EXPECT_EQ(across.firstRow, 0);
  EXPECT_EQ(across.bitmap->Height(), segments.SegmentEndRow(1));
}
