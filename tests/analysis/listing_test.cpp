#include "analysis/listing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/enumeration.h"
#include "encoding/native_name.h"
#include "support/front_end_fakes.h"
#include "support/temp_tree.h"

namespace appdu {
namespace {

using testing::FakeControls;
using testing::FixedClock;
using testing::TempDir;

constexpr platform::TimeValue kNow = 1'800'000'000;

class ListingTest : public ::testing::Test {
 protected:
  FakeControls controls;
  FixedClock clock{kNow};
  ListingSession session{controls, clock};
  TempDir dir;
};

TEST_F(ListingTest, WritesRanksPathsAgesAndSizesLargestFirst) {
  dir.MakeFile("home/small/a", 10);
  dir.MakeFile("home/big/a", 2000);
  dir.MakeFile("home/big/deeper/b", 48);
  dir.MakeFolder("home/empty");
  dir.MakeFile("home/not-a-folder", 5000);
  dir.SetModified("home/small", kNow - 61);
  dir.SetModified("home/big", kNow - 86400);
  dir.SetModified("home/empty", kNow);
  const Text home = dir / "home/";

  ListFolder(session, home);

  EXPECT_EQ(session.currentFolder, home);
  EXPECT_EQ(controls.panes[kFolderPane], home);
  ASSERT_EQ(controls.rows.size(), 3u);
  const std::vector<std::array<std::string, 4>> expected = {
      {"1", home + "big", "1天", "2KB"},
      {"2", home + "small", "1分1秒", "10B"},
      {"3", home + "empty", "", "0B"},
  };
  for (std::size_t r = 0; r < expected.size(); ++r) {
    for (int c = 0; c < 4; ++c) EXPECT_EQ(DisplayUtf8FromText(controls.rows[r][c]), expected[r][c]) << r << c;
  }
  EXPECT_EQ(controls.maximum, 6);
  EXPECT_EQ(controls.percentHistory, (std::vector<Text>{"16%", "33%", "50%", "66%", "83%", "100%"}));
}

TEST_F(ListingTest, OneSubfolderReadsFiftyThenAHundredPercent) {
  dir.MakeFolder("one/only");
  ListFolder(session, dir / "one");
  EXPECT_EQ(controls.percentHistory, (std::vector<Text>{"50%", "100%"}));
  EXPECT_EQ(controls.rows.at(0)[kPathColumn], dir / "one/only");
}

TEST_F(ListingTest, FiftySubfoldersGiveTheStoredPercentages) {
  for (int i = 0; i < 50; ++i) dir.MakeFolder("fifty/f" + std::to_string(i));
  ListFolder(session, dir / "fifty");
  EXPECT_EQ(controls.maximum, 100);
  ASSERT_EQ(controls.percentHistory.size(), 100u);
  EXPECT_EQ(controls.percentHistory[28], "28%");  // 29 / 100 * 100 falls just short of 29
  EXPECT_EQ(controls.percentHistory.back(), "100%");
}

TEST_F(ListingTest, EqualSizesListInReverseEnumerationOrder) {
  for (const char* name : {"a", "b", "c", "d"}) dir.MakeFile(std::string("eq/") + name + "/f", 100);
  TextList enumerated;
  EnumerateSubfolders(dir / "eq", enumerated, true);
  std::reverse(enumerated.begin(), enumerated.end());
  ListFolder(session, dir / "eq");
  EXPECT_EQ(controls.Paths(), enumerated);
}

TEST_F(ListingTest, AnEmptyOrMissingFolderKeepsThePreviousPercent) {
  dir.MakeFolder("has/one");
  dir.MakeFolder("bare");
  ListFolder(session, dir / "has");
  ASSERT_EQ(controls.percent, "100%");
  for (const Text& folder : {dir / "bare", dir / "missing/"}) {
    ListFolder(session, folder);
    EXPECT_TRUE(controls.rows.empty());
    EXPECT_EQ(controls.maximum, 0);
    EXPECT_EQ(controls.percent, "100%");
    EXPECT_EQ(session.currentFolder, folder);
    EXPECT_EQ(controls.panes[kFolderPane], folder);
  }
}

TEST_F(ListingTest, ProgressValuesAreStoredWithinTheirRange) {
  // 20000 subfolders: the maximum 40000 is stored as 32767.
  testing::RunOrFail("cd '" + dir.path() + "' && mkdir many && cd many && seq 20000 | xargs mkdir");
  ListFolder(session, dir / "many");
  EXPECT_EQ(controls.rows.size(), 20000u);
  EXPECT_EQ(controls.maximum, 32767);
  EXPECT_EQ(controls.percentHistory[16382], "49%");  // position 16383 of 32767
  EXPECT_EQ(controls.percentHistory[16383], "50%");
  EXPECT_EQ(controls.percentHistory.back(), "100%");
  EXPECT_EQ(controls.rows.back()[kRankColumn], "20000");
}

TEST_F(ListingTest, AListingStartedFromThePumpSupersedesTheRunningOne) {
  dir.MakeFile("outer/x/1", 1);
  dir.MakeFile("outer/x/2", 1);
  dir.MakeFile("outer/y/3", 1);
  dir.MakeFile("inner/z/4", 50);
  bool started = false;
  SetPumpHook([&] {
    if (started) return;
    started = true;  // the user clicks while the outer listing measures
    ListFolder(session, dir / "inner");
  });
  ListFolder(session, dir / "outer");
  SetPumpHook(nullptr);

  ASSERT_TRUE(started);
  EXPECT_EQ(controls.Paths(), TextList{dir / "inner/z"});
  EXPECT_EQ(session.currentFolder, dir / "inner");
  EXPECT_EQ(controls.panes[kFolderPane], dir / "inner");
  EXPECT_EQ(controls.percentHistory, (std::vector<Text>{"50%", "100%"}));
  EXPECT_EQ(controls.maximum, 2);
}

TEST_F(ListingTest, AStopRequestEndsTheListingAtItsNextPump) {
  dir.MakeFile("t/a/1", 1);
  dir.MakeFile("t/b/2", 1);
  controls.percent = "before";
  SetPumpHook([&] { session.stopRequested = true; });
  ListFolder(session, dir / "t");
  SetPumpHook(nullptr);
  EXPECT_TRUE(controls.rows.empty());
  EXPECT_EQ(controls.percent, "before");
}

TEST_F(ListingTest, AFolderRemovedBeforeItsRowGetsAnEmptyAge) {
  dir.MakeFile("t/gone/f", 3);
  session.rowWritten = [&](int, const FolderEntry&, std::optional<platform::TimeValue> modified) {
    EXPECT_FALSE(modified.has_value());
  };
  // Remove the folder between the two passes, from the last pump.
  SetPumpHook([&] { testing::RunOrFail("rm -rf '" + dir / "t/gone" + "'"); });
  TextList subfolders{dir / "t/gone"};
  ScanAndFill(session, subfolders);
  SetPumpHook(nullptr);
  ASSERT_EQ(controls.rows.size(), 1u);
  EXPECT_EQ(controls.rows[0][kAgeColumn], "");
}

}  // namespace
}  // namespace appdu
