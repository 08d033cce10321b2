#include "PngTestImages.h"

#include "raster/RasterPngResource.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
// What the fake resource lookup was asked and what it answers.
struct FakeResources {
  int calls = 0;
  int id = 0;
  std::string type;
  bool found = true;
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};
FakeResources fake;

bool FindFake(int id, const char* type, const unsigned char** data, std::size_t* size) {
  ++fake.calls;
  fake.id = id;
  fake.type = type;
  if (!fake.found) {
    return false;
  }
  *data = fake.data;
  *size = fake.size;
  return true;
}

std::vector<std::uint8_t> OnePixelPng() {
  PngPicture picture;
  picture.width = 1;
  picture.height = 1;
  picture.colourType = PNG_COLOR_TYPE_RGB;
  picture.rows = {{0x12, 0x34, 0x56}};
  return EncodePng(picture);
}
} // namespace

TEST(PngResourceName, OnlyTheTextAfterTheLastDotCounts) {
  EXPECT_TRUE(RasterNamesPngResource("resources/img/knob.png"));
  EXPECT_TRUE(RasterNamesPngResource("KNOB.PnG"));
  EXPECT_TRUE(RasterNamesPngResource(".png"));
  // Without a dot the comparison starts at the second character.
  EXPECT_TRUE(RasterNamesPngResource("xpng"));
  EXPECT_FALSE(RasterNamesPngResource("png"));
  EXPECT_FALSE(RasterNamesPngResource("knob.png.bak"));
  EXPECT_FALSE(RasterNamesPngResource("knob.pn"));
  EXPECT_FALSE(RasterNamesPngResource("knob.pngx"));
  EXPECT_FALSE(RasterNamesPngResource(""));
  EXPECT_FALSE(RasterNamesPngResource(nullptr));
}

TEST(PngResourceLoad, AsksForTheIdAsTypePngAndDecodes) {
  const std::vector<std::uint8_t> png = OnePixelPng();
  fake = FakeResources{};
  fake.data = png.data();
  fake.size = png.size();
  auto bitmap = RasterLoadPngResource(0x12345, "a.png", FindFake);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PixelData()[0], 0xFF123456u);
  EXPECT_EQ(fake.id, 0x12345);
  EXPECT_EQ(fake.type, "PNG");

  fake.calls = 0;
  EXPECT_EQ(RasterLoadPngResource(101, "a.bmp", FindFake), nullptr);
  EXPECT_EQ(fake.calls, 0);
}

TEST(PngResourceLoad, MissingShortOrBrokenResourcesGiveNone) {
  const std::vector<std::uint8_t> png = OnePixelPng();
  fake = FakeResources{};
  fake.found = false;
  EXPECT_EQ(RasterLoadPngResource(101, "a.png", FindFake), nullptr);
  fake.found = true;
  fake.data = png.data();
  fake.size = 7;
  EXPECT_EQ(RasterLoadPngResource(101, "a.png", FindFake), nullptr);
  // Eight bytes pass the size check and the signature, then fail inside libpng.
  fake.size = 8;
  EXPECT_EQ(RasterLoadPngResource(101, "a.png", FindFake), nullptr);
  fake.data = nullptr;
  fake.size = png.size();
  EXPECT_EQ(RasterLoadPngResource(101, "a.png", FindFake), nullptr);
}

TEST(PngResourceLoad, TheNineEditorPicturesDecodeToTheirSizes) {
  struct Picture {
    int id;
    const char* name;
    int width;
    int height;
  };
  const Picture pictures[] = {{101, "resources/img/knob.png", 192, 92158},
                              {102, "resources/img/background.png", 560, 400},
                              {103, "resources/img/background2.png", 560, 400},
                              {104, "resources/img/background3.png", 560, 400},
                              {105, "resources/img/background4.png", 560, 400},
                              {106, "resources/img/background_panel.png", 560, 400},
                              {107, "resources/img/knob_bg.png", 192, 192},
                              {108, "resources/img/kelba.png", 165, 74},
                              {109, "resources/img/kelbabtn.png", 165, 74}};
  for (const Picture& picture : pictures) {
    auto bitmap = RasterLoadPngResource(picture.id, picture.name);
    ASSERT_NE(bitmap, nullptr) << picture.id;
    EXPECT_EQ(bitmap->Width(), picture.width) << picture.id;
    EXPECT_EQ(bitmap->Height(), picture.height) << picture.id;
  }
  EXPECT_EQ(RasterLoadPngResource(110, "resources/img/none.png"), nullptr);
  // Each at twice the size under its id plus 100 (read from the header: the 2x knob strip is
  // 280 MB decoded).
  for (const Picture& picture : pictures) {
    int width = 0;
    int height = 0;
    ASSERT_TRUE(RasterPngResourceSize(picture.id + 100, "resources/img/x@2x.png", &width, &height))
        << picture.id;
    EXPECT_EQ(width, picture.width * 2) << picture.id;
    EXPECT_EQ(height, picture.height * 2) << picture.id;
  }
  // Only the low 16 bits name a resource.
  auto aliased = RasterLoadPngResource(0x10000 + 107, "resources/img/knob_bg.png");
  ASSERT_NE(aliased, nullptr);
  EXPECT_EQ(aliased->Width(), 192);
}

TEST(PngResourceSize, TheHeaderGivesTheSizeWithoutDecoding) {
  int width = 0;
  int height = 0;
  ASSERT_TRUE(RasterPngResourceSize(101, "resources/img/knob.png", &width, &height));
  EXPECT_EQ(width, 192);
  EXPECT_EQ(height, 92158);
  EXPECT_FALSE(RasterPngResourceSize(101, "knob.bmp", &width, &height));
  EXPECT_FALSE(RasterPngResourceSize(4242, "missing.png", &width, &height));

  std::vector<std::uint8_t> png = OnePixelPng();
  fake = FakeResources();
  fake.data = png.data();
  fake.size = png.size();
  ASSERT_TRUE(RasterPngResourceSize(7, "a.png", &width, &height, FindFake));
  EXPECT_EQ(width, 1);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(fake.type, "PNG");
  // Cut inside the header, another first chunk, a zero or oversized width: unknown.
  fake.size = 23;
  EXPECT_FALSE(RasterPngResourceSize(7, "a.png", &width, &height, FindFake));
  fake.size = png.size();
  std::vector<std::uint8_t> broken = png;
  broken[12] = 'X';
  fake.data = broken.data();
  EXPECT_FALSE(RasterPngResourceSize(7, "a.png", &width, &height, FindFake));
  broken = png;
  std::memset(broken.data() + 16, 0, 4);
  fake.data = broken.data();
  EXPECT_FALSE(RasterPngResourceSize(7, "a.png", &width, &height, FindFake));
  broken[16] = 0x80;
  EXPECT_FALSE(RasterPngResourceSize(7, "a.png", &width, &height, FindFake));
  EXPECT_EQ(width, 1);
}
