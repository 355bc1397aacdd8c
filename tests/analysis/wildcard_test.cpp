#include "analysis/wildcard.h"

#include <gtest/gtest.h>

namespace appdu {
namespace {

struct MatchCase {
  const char* pattern;
  Text name;
  bool matches;
};

TEST(WildcardMatch, FollowsWindowsRules) {
  const MatchCase cases[] = {
      {"*.*", "readme", true},
      {"*.*", ".hidden", true},
      {"*.*", "a.b.c", true},
      {"*", "anything", true},
      {"*.txt", "notes.txt", true},
      {"*.txt", "notes.TXT", false},  // names are case-sensitive here
      {"*.txt", "notes.txt.gz", false},
      {"a?c", "abc", true},
      {"a?c", "ac", false},
      {"a?c",
       "a\xC2\xB7"
       "c",
       true},  // "?" takes a whole double-byte character
      {"a??c",
       "a\xC2\xB7"
       "c",
       false},
      {"data.*", "data", true},  // a final ".*" also matches no extension
      {"data.*", "database", false},
      {"*b*", "abc", true},
      {"\xC2\xB7*", "\xC2\xB7\xBE\xB6", true},
      {"", "name", false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
  }
}

TEST(SplitPatterns, KeepsEmptyPiecesButATrailingOne) {
  EXPECT_EQ(SplitPatterns(""), TextList{});
  EXPECT_EQ(SplitPatterns("*.*"), TextList{"*.*"});
  EXPECT_EQ(SplitPatterns("*.*|"), TextList{"*.*"});
  EXPECT_EQ(SplitPatterns("|*.txt"), (TextList{"", "*.txt"}));
  EXPECT_EQ(SplitPatterns("a||b"), (TextList{"a", "", "b"}));
  // 0x7C as the trail byte of a double-byte character is not a delimiter.
  EXPECT_EQ(SplitPatterns("\x81|x|y"), (TextList{"\x81|x", "y"}));
}

}  // namespace
}  // namespace appdu
