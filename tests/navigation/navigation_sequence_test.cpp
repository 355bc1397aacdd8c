#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/enumeration.h"
#include "analysis/listing.h"
#include "navigation/navigation.h"
#include "navigation/scoped_environment.h"
#include "support/front_end_fakes.h"
#include "support/temp_tree.h"

namespace appdu {
namespace {

using testing::FakeControls;
using testing::FixedClock;
using testing::ScopedEnvironment;
using testing::TempDir;

// A home folder "<tmp>/home/user" with application data below it:
//   <tmp>/home/user/.cache/big (3000 bytes), <tmp>/home/user/.config (10 bytes)
//   <tmp>/home/other (1 byte)
class NavigationSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.MakeFolder("home/user/.cache/big");
    tree_.MakeFile("home/user/.cache/big/blob", 3000);
    tree_.MakeFolder("home/user/.config");
    tree_.MakeFile("home/user/.config/settings", 10);
    tree_.MakeFolder("home/other");
    tree_.MakeFile("home/other/file", 1);
    ScopedEnvironment::Replace({"HOME=" + tree_.path() + "/home/user"});
  }

  Text Tree(const std::string& relative) const { return tree_.path() + relative; }

  ScopedEnvironment savedEnvironment_;
  TempDir tree_;
  FakeControls controls_;
  FixedClock clock_{2000000000};
  ListingSession session_{controls_, clock_};
};

TEST_F(NavigationSequenceTest, UpTwiceFromTheHomeFolder) {
  ListFolder(session_, HomeFolder());
  EXPECT_EQ(session_.currentFolder, Tree("/home/user/"));
  EXPECT_EQ(controls_.Paths(), (std::vector<Text>{Tree("/home/user/.cache"), Tree("/home/user/.config")}));

  ListParentFolder(session_);
  EXPECT_EQ(session_.currentFolder, Tree("/home/"));
  EXPECT_EQ(controls_.panes[kFolderPane], Tree("/home/"));
  EXPECT_EQ(controls_.Paths(), (std::vector<Text>{Tree("/home/user"), Tree("/home/other")}));

  ListParentFolder(session_);
  EXPECT_EQ(session_.currentFolder, Tree("/"));
  EXPECT_EQ(controls_.Paths(), (std::vector<Text>{Tree("/home")}));
}

TEST_F(NavigationSequenceTest, DownListsTheRowTextThenUpListsItsParent) {
  ListFolder(session_, HomeFolder());
  ASSERT_EQ(controls_.CellText(0, kPathColumn), Tree("/home/user/.cache"));
  controls_.selectedRow = 0;

  ListSelectedFolder(session_);
  EXPECT_EQ(session_.currentFolder, Tree("/home/user/.cache"));
  EXPECT_EQ(controls_.panes[kFolderPane], Tree("/home/user/.cache"));
  EXPECT_EQ(controls_.Paths(), (std::vector<Text>{Tree("/home/user/.cache/big")}));

  ListParentFolder(session_);
  EXPECT_EQ(session_.currentFolder, Tree("/home/user/"));
  EXPECT_EQ(controls_.Paths(), (std::vector<Text>{Tree("/home/user/.cache"), Tree("/home/user/.config")}));
}

TEST_F(NavigationSequenceTest, DownWithoutASelectedRowDoesNothing) {
  ListFolder(session_, HomeFolder());
  const int removals = controls_.rowsRemoved;
  const auto rows = controls_.rows;
  controls_.selectedRow = -1;

  ListSelectedFolder(session_);
  EXPECT_EQ(session_.currentFolder, Tree("/home/user/"));
  EXPECT_EQ(controls_.rowsRemoved, removals);
  EXPECT_EQ(controls_.rows, rows);
  EXPECT_EQ(session_.listingsStarted, 1u);
}

TEST_F(NavigationSequenceTest, UpFromTheRootListsTheEmptyTextEveryTime) {
  // Listing the root would measure the whole machine: stop each listing at
  // its first pump, after the folder and the status bar have been set.
  SetPumpHook([this] { session_.stopRequested = true; });
  session_.currentFolder = "/";
  for (int time = 1; time <= 2; ++time) {
    controls_.panes[kFolderPane] = "unchanged";
    ListParentFolder(session_);
    EXPECT_EQ(session_.currentFolder, "") << "move " << time;
    EXPECT_EQ(controls_.panes[kFolderPane], "") << "move " << time;
    EXPECT_EQ(controls_.rowsRemoved, time);
  }
  EXPECT_EQ(session_.listingsStarted, 2u);
  SetPumpHook(nullptr);
}

}  // namespace
}  // namespace appdu
