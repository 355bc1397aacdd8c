// A binary of its own: keeping the environment changes what every later
// lookup in the process sees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/environment.h"
#include "platform/process.h"
#include "support/temp_tree.h"

namespace appdu::platform {
namespace {

TEST(KeptEnvironment, LookupsSeeTheEnvironmentAsItWasKept) {
  testing::TempDir home;
  setenv("HOME", home.path().c_str(), 1);
  setenv("AppDu_Kept", "before", 1);
  KeepStartEnvironment();

  const std::string privateFolder = MakePrivateFolder();
  ASSERT_FALSE(privateFolder.empty());
  SetEnvironmentVariable("HOME", privateFolder);
  SetEnvironmentVariable("AppDu_Kept", "after");

  EXPECT_EQ(EnvironmentVariable("appdu_kept"), "before");
  EXPECT_EQ(ShellFolderValue(ShellFolderScope::PerUser, "userprofile"), home.path());
  EXPECT_EQ(ShellFolderValue(ShellFolderScope::PerUser, "cache"), home.path() + "/.cache");
  EXPECT_STREQ(std::getenv("HOME"), privateFolder.c_str());

  // The private folder goes with all it holds, links not followed.
  testing::RunOrFail("mkdir -p '" + privateFolder + "/.pki/nssdb' && touch '" + privateFolder +
                     "/.pki/nssdb/cert9.db' && ln -s '" + home.path() + "' '" + privateFolder + "/link'");
  home.MakeFile("keep", 1);
  RemovePrivateFolder(privateFolder);
  EXPECT_NE(system(("test -e '" + privateFolder + "'").c_str()), 0);
  EXPECT_EQ(system(("test -e '" + home / "keep" + "'").c_str()), 0);
}

}  // namespace
}  // namespace appdu::platform
