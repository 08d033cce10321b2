// Images whose size their header gives are decoded when first drawn, once per process. The cache
// is the process's: these ids are used by no other test of the program.

#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/TestPlugin.h"

#include "editor/ImageCache.h"
#include "editor/ImageControls.h"

#include <gtest/gtest.h>

#include <map>

namespace {
// Claims header sizes for the ids the test gives them, as the library's PNG resources have.
class HeaderEditor : public TestEditor {
public:
  using TestEditor::TestEditor;
  bool ImageResourceSize(int id, const char*, int* width, int* height) override {
    const auto found = sizes.find(id);
    if (found == sizes.end()) {
      return false;
    }
    *width = found->second.first;
    *height = found->second.second;
    return true;
  }
  std::map<int, std::pair<int, int>> sizes;
};

class LazyImageTest : public ::testing::Test {
protected:
  TestPlugin plugin;
  HeaderEditor editor{&plugin};
};
} // namespace

TEST_F(LazyImageTest, AnImageIsDecodedWhenFirstDrawnAndThenShared) {
  editor.sizes[9701] = {8, 6};
  editor.images[9701] = {8, 6, 0xFF0000FFu};
  const IImageStrip strip = editor.LoadImageStrip(9701, "a.png", 2);
  EXPECT_EQ(editor.loads[9701], 0);
  EXPECT_EQ(strip.bitmap, nullptr);
  EXPECT_EQ(strip.width, 8);
  EXPECT_EQ(strip.height, 6);
  // The control's area comes from the header alone.
  auto* control = new IImageControl(&plugin, 2, 3, -1, strip);
  EXPECT_EQ(control->Area().right, 10);
  EXPECT_EQ(control->Area().bottom, 6);
  editor.AddControl(control);
  editor.PrepareDrawing();
  editor.Fill(0xFF000000u);

  // Drawn outside the redraw rectangle: still nothing to decode.
  editor.RedrawRect({100, 100, 120, 120});
  EXPECT_EQ(editor.loads[9701], 0);
  editor.RedrawAll();
  EXPECT_EQ(editor.loads[9701], 1);
  EXPECT_EQ(editor.Pixel(2, 3), 0xFF0000FFu);
  EXPECT_EQ(editor.Pixel(1, 3), 0xFF000000u);

  HeaderEditor another(&plugin);
  another.sizes[9701] = {8, 6};
  const IImageStrip shared = another.LoadImageStrip(9701, "a.png", 1);
  EXPECT_EQ(shared.image, strip.image);
  EXPECT_EQ(another.StripBitmap(shared), editor.StripBitmap(strip));
  EXPECT_EQ(another.loads[9701], 0);
  EXPECT_EQ(editor.loads[9701], 1);
}

// A decode that fails is not tried again on every tick; the next LoadImageStrip tries again.
TEST_F(LazyImageTest, AFailedDecodeDrawsNothingUntilTheImageIsLoadedAgain) {
  editor.sizes[9702] = {4, 4};
  const IImageStrip strip = editor.LoadImageStrip(9702, "b.png", 1);
  EXPECT_EQ(editor.StripBitmap(strip), nullptr);
  EXPECT_EQ(editor.StripBitmap(strip), nullptr);
  EXPECT_EQ(editor.loads[9702], 1);
  EXPECT_TRUE(strip.image->Failed());

  editor.images[9702] = {4, 4, 0xFF00FF00u};
  const IImageStrip retried = editor.LoadImageStrip(9702, "b.png", 1);
  EXPECT_NE(retried.image, strip.image);
  ASSERT_NE(editor.StripBitmap(retried), nullptr);
  EXPECT_EQ(editor.loads[9702], 2);
  EXPECT_EQ(editor.LoadImageStrip(9702, "b.png", 1).image, retried.image);
}

TEST(ImageCacheTest, TheFirstPublishedBitmapStays) {
  ICachedImage image(9703, "c.png", 2, 2);
  auto first = SolidBitmap(2, 2, 1);
  RasterBitmap* kept = first.get();
  EXPECT_EQ(image.Publish(std::move(first)), kept);
  EXPECT_EQ(image.Publish(SolidBitmap(2, 2, 2)), kept);
  // A failed second decode does not take the first one's pixels away.
  EXPECT_EQ(image.Publish(nullptr), kept);
  EXPECT_EQ(image.Bitmap(), kept);
}
