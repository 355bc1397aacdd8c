#include <gtest/gtest.h>

#include "navigation/navigation.h"

namespace appdu {
namespace {

TEST(ParentFolderTest, CutsAfterTheLastSeparatorBeforeOneTrailingSeparator) {
  const struct {
    Text path;
    Text parent;
  } cases[] = {
      {"/home/user/.cache/", "/home/user/"},
      {"/home/user/.cache", "/home/user/"},
      {"/home/user/", "/home/"},
      {"/home/", "/"},
      {"/home", "/"},
      {"/", ""},
      {"", ""},
      {"Local", ""},
      {"Local/", ""},
      {"/home//", "/home/"},
      {"//server/share/dir", "//server/share/"},
      {"//server/share", "//server/"},
      // A CJK component ("路径"): its bytes are never taken for a separator.
      {"/data/\xC2\xB7\xBE\xB6/cache", "/data/\xC2\xB7\xBE\xB6/"},
      {"/data/\xC2\xB7\xBE\xB6", "/data/"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParentFolder(c.path), c.parent) << "path \"" << c.path << "\"";
}

}  // namespace
}  // namespace appdu
