#include "platform/ModuleResources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

namespace {

struct Picture {
  int id;
  std::uint32_t width;
  std::uint32_t height;
};

const Picture kPictures[] = {
    {101, 192, 92158}, {102, 560, 400}, {103, 560, 400}, {104, 560, 400}, {105, 560, 400},
    {106, 560, 400},   {107, 192, 192}, {108, 165, 74},  {109, 165, 74},
};

std::uint32_t BigEndian32(const unsigned char* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

// Walks the chunk list: a picture linked in whole ends with IEND exactly at its last byte.
bool EndsWithIend(const unsigned char* data, std::size_t size) {
  std::size_t at = 8;
  while (at + 12 <= size) {
    const std::size_t length = BigEndian32(data + at);
    if (length > size - at - 12) {
      return false;
    }
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) {
      return at + 12 + length == size;
    }
    at += 12 + length;
  }
  return false;
}

} // namespace

TEST(ModuleResources, EveryPictureIsAWholeEightBitRgbaPngOfItsSize) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::set<const unsigned char*> seen;
  for (const Picture& picture : kPictures) {
    SCOPED_TRACE(picture.id);
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(FindModuleResource(picture.id, "PNG", &data, &size));
    ASSERT_NE(data, nullptr);
    ASSERT_GE(size, 33u);
    EXPECT_EQ(std::memcmp(data, kSignature, 8), 0);
    EXPECT_EQ(BigEndian32(data + 8), 13u);
    EXPECT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
    EXPECT_EQ(BigEndian32(data + 16), picture.width);
    EXPECT_EQ(BigEndian32(data + 20), picture.height);
    EXPECT_EQ(data[24], 8) << "bit depth";
    EXPECT_EQ(data[25], 6) << "colour type RGBA";
    EXPECT_TRUE(EndsWithIend(data, size));
    EXPECT_TRUE(seen.insert(data).second) << "two ids share one picture";
  }
}

TEST(ModuleResources, UnknownIdsAndTypesAreNotFoundAndLeaveTheOutputsAlone) {
  const unsigned char sentinel = 0;
  const unsigned char* data = &sentinel;
  std::size_t size = 12345;
  for (int id : {0, 1, 100, 110, 65535, -1, 0x10000}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(FindModuleResource(id, "PNG", &data, &size));
  }
  for (const char* type : {"JPG", "", "PN", "PNGX", "RCDATA"}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(FindModuleResource(101, type, &data, &size));
  }
  EXPECT_FALSE(FindModuleResource(101, nullptr, &data, &size));
  EXPECT_EQ(data, &sentinel);
  EXPECT_EQ(size, 12345u);
  EXPECT_FALSE(FindModuleResource(101, "PNG", nullptr, &size));
  EXPECT_FALSE(FindModuleResource(101, "PNG", &data, nullptr));
}

TEST(ModuleResources, NamesMatchAsWindowsMatchesThem) {
  const unsigned char* expected = nullptr;
  std::size_t expectedSize = 0;
  ASSERT_TRUE(FindModuleResource(101, "PNG", &expected, &expectedSize));

  // Integer resource names are the id's low 16 bits; type names ignore case.
  for (const auto& [id, type] :
       {std::pair<int, const char*>{101 + 0x10000, "PNG"}, std::pair<int, const char*>{101, "png"},
        std::pair<int, const char*>{101, "Png"}}) {
    SCOPED_TRACE(std::to_string(id) + " " + type);
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    EXPECT_TRUE(FindModuleResource(id, type, &data, &size));
    EXPECT_EQ(data, expected);
    EXPECT_EQ(size, expectedSize);
  }
}
