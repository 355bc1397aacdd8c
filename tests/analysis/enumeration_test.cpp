#include "analysis/enumeration.h"

#include <gtest/gtest.h>
#include <limits.h>

#include <algorithm>
#include <set>

#include "encoding/native_name.h"
#include "support/temp_tree.h"

namespace appdu {
namespace {

using testing::TempDir;

TextList Sorted(TextList list) {
  std::sort(list.begin(), list.end());
  return list;
}

std::int64_t SumOfFileSizes(const Text& folder) {
  TextList files;
  EnumerateFiles(folder, "*.*", files, true, true);
  std::int64_t total = 0;
  for (const Text& file : files) total += QueryFileSize(file);
  return total;
}

std::int64_t Measured(const Text& folder) { return MeasureFolder(folder, nullptr).value_or(-1); }

TEST(EnumerateSubfolders, ListsFoldersAndFolderLinksWithOneSeparator) {
  TempDir dir;
  dir.MakeFolder("a");
  dir.MakeFolder(".hidden");
  dir.MakeFolder("other");
  dir.MakeFile("file", 10);
  dir.MakeLink("link-to-folder", "other");
  dir.MakeLink("link-to-file", "file");
  dir.MakeLink("broken", "nowhere");

  const TextList expected = {dir / ".hidden", dir / "a", dir / "link-to-folder", dir / "other"};
  TextList withoutSeparator{"kept"};
  EXPECT_EQ(EnumerateSubfolders(dir.path(), withoutSeparator, true), 5);
  EXPECT_EQ(withoutSeparator.front(), "kept");
  withoutSeparator.erase(withoutSeparator.begin());
  EXPECT_EQ(Sorted(withoutSeparator), expected);

  TextList withSeparator;
  EnumerateSubfolders(dir.path() + "/", withSeparator, true);
  EXPECT_EQ(Sorted(withSeparator), expected);

  TextList names;
  EnumerateSubfolders(dir.path(), names);
  EXPECT_EQ(Sorted(names), (TextList{".hidden", "a", "link-to-folder", "other"}));
}

TEST(EnumerateSubfolders, LeavesTheListAsItWasForNothingToList) {
  TempDir dir;
  dir.MakeFile("only-a-file", 1);
  TextList list{"x"};
  EXPECT_EQ(EnumerateSubfolders(dir.path(), list, true), 1);
  EXPECT_EQ(EnumerateSubfolders(dir / "missing", list, true), 1);
  EXPECT_EQ(EnumerateSubfolders(dir / "only-a-file", list, true), 1);
}

TEST(EnumerateFiles, EmptiesOrAppendsAsRecursiveSays) {
  TempDir dir;
  dir.MakeFile("top.txt", 1);
  dir.MakeFile("sub/inner.txt", 1);

  TextList list{"old"};
  EXPECT_EQ(EnumerateFiles(dir.path(), "*.*", list, true), 1);
  EXPECT_EQ(list, TextList{dir / "top.txt"});

  list = {"old"};
  EXPECT_EQ(EnumerateFiles(dir.path(), "*.*", list, true, true), 3);
  EXPECT_EQ(list, (TextList{"old", dir / "top.txt", dir / "sub/inner.txt"}));

  list.clear();
  EnumerateFiles(dir.path(), "*.*", list, false, true);
  EXPECT_EQ(list, (TextList{"top.txt", "inner.txt"}));
}

TEST(EnumerateFiles, ListsDepthFirstInPreOrder) {
  TempDir dir;
  for (const char* folder : {"p", "q"}) {
    dir.MakeFile(std::string(folder) + "/f1", 1);
    dir.MakeFile(std::string(folder) + "/f2", 1);
    dir.MakeFile(std::string(folder) + "/deeper/f3", 1);
  }
  dir.MakeFile("root-file", 1);
  TextList list;
  EnumerateFiles(dir.path(), "*.*", list, true, true);
  ASSERT_EQ(list.size(), 7u);
  EXPECT_EQ(list[0], dir / "root-file");
  // Each subfolder's whole subtree is contiguous, its own files first.
  for (std::size_t start : {1u, 4u}) {
    const Text folder = list[start].substr(0, list[start].rfind('/'));
    EXPECT_EQ(Sorted({list[start], list[start + 1]}), (TextList{folder + "/f1", folder + "/f2"}));
    EXPECT_EQ(list[start + 2], folder + "/deeper/f3");
  }
}

TEST(EnumerateFiles, AppliesEachPatternInTurn) {
  TempDir dir;
  dir.MakeFile("a.txt", 1);
  dir.MakeFile("b.log", 1);
  dir.MakeFile("noext", 1);
  dir.MakeFile("sub/c.txt", 1);
  struct Case {
    const char* patterns;
    TextList expected;
  };
  const Case cases[] = {
      {"*.txt", {"a.txt"}},
      {"*.txt|*.*", {"a.txt", "a.txt", "b.log", "noext"}},  // named twice, listed twice
      {"*.*|", {"a.txt", "b.log", "noext"}},
      {"|*.log", {"b.log"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    TextList list{"stale"};
    EnumerateFiles(dir.path(), c.patterns, list);
    if (std::string(c.patterns) == "*.txt|*.*") {
      EXPECT_EQ(list.front(), "a.txt");
    }
    EXPECT_EQ(Sorted(list), c.expected) << c.patterns;
  }
  // An empty pattern text with recursion still walks, finding no files.
  TextList list;
  EXPECT_EQ(EnumerateFiles(dir.path(), "", list, true, true), 0);
  list.clear();
  EnumerateFiles(dir.path(), "*.txt", list, true, true);
  EXPECT_EQ(list, (TextList{dir / "a.txt", dir / "sub/c.txt"}));
}

TEST(QueryFileSize, ReadsRecordedSizesPastFourGigabytes) {
  TempDir dir;
  dir.MakeFile("three", 3ull << 30, true);
  dir.MakeFile("five", 5ull << 30, true);
  dir.MakeFile("empty", 0);
  dir.MakeLink("link", "five");
  EXPECT_EQ(QueryFileSize(dir / "three"), 3ll << 30);
  EXPECT_EQ(QueryFileSize(dir / "five"), 5ll << 30);
  EXPECT_EQ(QueryFileSize(dir / "empty"), 0);
  EXPECT_EQ(QueryFileSize(dir / "link"), 4);  // the link itself: "five"
  EXPECT_EQ(QueryFileSize(dir / "missing"), 0);
  EXPECT_EQ(QueryFileSize(""), 0);
}

TEST(Measure, FindsAndMeasuresNamesCodePage936CannotHold) {
  TempDir dir;
  dir.MakeFile("tree/路径/数据", 100);
  dir.MakeFile("tree/😀/smile", 200);
  dir.MakeFile(
      "tree/bad\xFF"
      "name/x\xFE",
      300);
  dir.MakeFile("tree/.hidden", 7);
  const Text tree = TextFromNative(dir / "tree");

  TextList files;
  EnumerateFiles(tree, "*.*", files, true, true);
  EXPECT_EQ(files.size(), 4u);
  for (const Text& file : files) EXPECT_GT(QueryFileSize(file), 0) << DisplayUtf8FromText(file);
  EXPECT_EQ(SumOfFileSizes(tree), 607);
  EXPECT_EQ(Measured(tree), 607);

  TextList subfolders;
  EnumerateSubfolders(tree, subfolders, true);
  EXPECT_EQ(Sorted(subfolders), Sorted({TextFromNative(dir / "tree/路径"), TextFromNative(dir / "tree/😀"),
                                        TextFromNative(dir / "tree/bad\xFF"
                                                             "name")}));
}

TEST(Measure, CountsLinksByTheirOwnSizeAndEntersEachFolderOnce) {
  TempDir dir;
  dir.MakeFile("t/data/file", 1000);
  dir.MakeLink("t/data/loop", "..");           // a cycle back up
  dir.MakeLink("t/data/self", ".");            // a cycle onto itself
  dir.MakeLink("t/again", "data");             // the same folder twice
  dir.MakeLink("t/broken", "missing-target");  // 14 bytes
  dir.MakeLink("t/to-file", "data/file");      // 9 bytes
  const std::int64_t expected = 1000 + 14 + 9;
  EXPECT_EQ(Measured(dir / "t"), expected);
  EXPECT_EQ(SumOfFileSizes(dir / "t"), expected);
}

TEST(Measure, HandlesTreesTenThousandLevelsDeepAndPathsPastPathMax) {
  TempDir dir;
  dir.MakeDeepChain("deep", 10000, 1000);
  // 1000 + 2000 + ... + 10000 + 5
  const std::int64_t expected = 55000 + 5;
  EXPECT_EQ(Measured(dir / "deep"), expected);

  TextList files;
  EnumerateFiles(dir / "deep", "*.*", files, true, true);
  ASSERT_EQ(files.size(), 11u);
  EXPECT_GT(files.back().size(), static_cast<std::size_t>(PATH_MAX));
  EXPECT_EQ(QueryFileSize(files.back()), 5);
  std::int64_t total = 0;
  for (const Text& file : files) total += QueryFileSize(file);
  EXPECT_EQ(total, expected);
}

TEST(Measure, AddsUpLargeFoldersExactly) {
  // Large folders have their sizes read in two halves at once.
  TempDir dir;
  std::int64_t expected = 0;
  for (int i = 0; i < 1000; ++i) {
    dir.MakeFile("big/f" + std::to_string(i), static_cast<std::uint64_t>(i) * 977, true);
    expected += static_cast<std::int64_t>(i) * 977;
  }
  for (int i = 0; i < 49; ++i) dir.MakeFile("big/sub/g" + std::to_string(i), 1);
  EXPECT_EQ(Measured(dir / "big"), expected + 49);
  EXPECT_EQ(SumOfFileSizes(dir / "big"), expected + 49);
}

TEST(Measure, SkipsUnreadableFoldersAndCountsTheRest) {
  TempDir dir;
  dir.MakeFile("t/open/a", 10);
  dir.MakeFile("t/closed/b", 20);
  testing::RunOrFail("chmod 755 '" + dir.path() + "' && chmod 000 '" + dir / "t/closed" + "'");
  // Root reads every folder, so the measuring runs in a child that is not root.
  EXPECT_EXIT(
      {
        if (testing::RunningAsRoot() && !testing::DropRootForNobody()) std::exit(2);
        std::exit(Measured(dir / "t") == 10 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(Measure, StopsWhenAskedAfterAFileOrAFolder) {
  TempDir dir;
  dir.MakeFile("t/a", 1);
  dir.MakeFile("t/b", 1);
  dir.MakeFile("t/sub/c", 1);
  int calls = 0;
  EXPECT_FALSE(MeasureFolder(dir / "t", [&] { return ++calls < 2; }).has_value());
  EXPECT_EQ(calls, 2);
  calls = 0;
  EXPECT_EQ(MeasureFolder(dir / "t", [&] { return ++calls > 0; }), 3);
  EXPECT_EQ(calls, 4);  // three files and one subfolder
}

TEST(PumpPendingMessages, RunsTheInstalledHookAfterEveryFileAndFolder) {
  TempDir dir;
  dir.MakeFile("t/a", 1);
  dir.MakeFile("t/sub/b", 1);
  int pumps = 0;
  SetPumpHook([&] { ++pumps; });
  TextList list;
  EnumerateFiles(dir / "t", "*.*", list, true, true);
  SetPumpHook(nullptr);
  EXPECT_EQ(pumps, 3);
  PumpPendingMessages();  // no hook: nothing happens
  EXPECT_EQ(pumps, 3);
}

}  // namespace
}  // namespace appdu
