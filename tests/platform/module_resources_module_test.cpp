#include "tests/platform/ResourceProbe.h"

#include <gtest/gtest.h>

#include <cstring>

// The plug-in library's pictures must be found from inside a host program that has none of its
// own: the lookup searches the module holding the code, not the program that started.
TEST(ModuleResources, ALoadedModuleFindsItsOwnPictures) {
  const ResourceFinder find = LoadResourceProbe();
  ASSERT_NE(find, nullptr);
  // The 1x pictures and the 2x ones beside them.
  for (int firstId : {101, 201}) {
    for (int id = firstId; id <= firstId + 8; ++id) {
      SCOPED_TRACE(id);
      const unsigned char* data = nullptr;
      std::size_t size = 0;
      ASSERT_TRUE(find(id, "PNG", &data, &size));
      ASSERT_GE(size, 8u);
      EXPECT_EQ(std::memcmp(data, "\x89PNG\r\n\x1a\n", 8), 0);
    }
  }
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  EXPECT_FALSE(find(110, "PNG", &data, &size));
}
