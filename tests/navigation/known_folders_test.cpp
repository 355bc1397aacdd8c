#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "encoding/native_name.h"
#include "navigation/navigation.h"
#include "navigation/scoped_environment.h"
#include "support/temp_tree.h"

namespace appdu {
namespace {

using testing::ScopedEnvironment;
using testing::TempDir;

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// "软件安装目录" in code page 936.
const Text kProgramFolderRow = "\xC8\xED\xBC\xFE\xB0\xB2\xD7\xB0\xC4\xBF\xC2\xBC";

TEST(KnownFolderNameTest, HoldsTheFortyThreeRowsInOrder) {
  const std::vector<Text> expected = {
      "AppData",
      "Cache",
      "CD Burning",
      "Cookies",
      "Desktop",
      "Favorites",
      "Fonts",
      "History",
      "Local AppData",
      "Local Settings",
      "My Music",
      "My Pictures",
      "My Video",
      "NetHood",
      "Personal",
      "PrintHood",
      "Programs",
      "Recent",
      "SendTo",
      "Start Menu",
      "Startup",
      "Templates",
      "Common Administrative Tools",
      "Common AppData",
      "Common Desktop",
      "Common Documents",
      "Common Favorites",
      "Common Programs",
      "Common Start Menu",
      "Common Startup",
      "Common Templates",
      "CommonMusic",
      "CommonPictures",
      "CommonVideo",
      "Temp",
      "WinDir",
      "System32",
      "USERPROFILE",
      "ALLUSERSPROFILE",
      "ProgramFiles",
      "CommonProgramFiles",
      "SystemDrive",
      kProgramFolderRow,
  };
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(kKnownFolderCount));
  for (int index = 1; index <= kKnownFolderCount; ++index) {
    EXPECT_EQ(KnownFolderName(index), expected[index - 1]) << "row " << index;
  }
  for (int outOfRange : {0, -5, 44, 1000}) EXPECT_EQ(KnownFolderName(outOfRange), "AppData") << outOfRange;
}

// Each case runs with exactly the listed variables set ("{home}" stands for a
// temporary home folder holding .config/user-dirs.dirs) and nothing else.
struct ResolveCase {
  const char* what;
  int index;
  std::vector<std::string> environment;
  Text expected;
};

class ResolveKnownFolderTest : public ::testing::TestWithParam<ResolveCase> {
 protected:
  void SetUp() override {
    home_.MakeFolder(".config");
    WriteFile(home_ / ".config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\n"
              "#XDG_VIDEOS_DIR=\"$HOME/Commented\"\n"
              "XDG_DESKTOP_DIR=\"$HOME/Old desktop\"\n"
              "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
              "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n"
              "  XDG_MUSIC_DIR = \"$HOME/\xE9\x9F\xB3\xE4\xB9\x90\"\n"
              "XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"\n"
              "XDG_TEMPLATES_DIR=\"$HOME/\"\n"
              "XDG_PUBLICSHARE_DIR=\"relative/not/used\"\n");
    other_.MakeFolder("cfg");
    WriteFile(other_ / "cfg/user-dirs.dirs", "XDG_DESKTOP_DIR=\"/elsewhere/Desktop\"\n");
  }

  std::string Substitute(std::string text) const {
    for (auto [placeholder, value] : {std::pair<std::string, std::string>{"{home}", home_.path()},
                                      std::pair<std::string, std::string>{"{other}", other_.path()}}) {
      for (std::size_t at; (at = text.find(placeholder)) != std::string::npos;)
        text.replace(at, placeholder.size(), value);
    }
    return text;
  }

  TempDir home_;
  TempDir other_;
};

TEST_P(ResolveKnownFolderTest, FollowsTheRulesInOrder) {
  const ResolveCase& c = GetParam();
  ScopedEnvironment saved;
  std::vector<std::string> environment;
  for (const std::string& entry : c.environment) environment.push_back(Substitute(entry));
  ScopedEnvironment::Replace(environment);
  EXPECT_EQ(ResolveKnownFolder(c.index), Substitute(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResolveKnownFolderTest,
    ::testing::Values(
        // The environment, looked up ignoring case.
        ResolveCase{"variable of another case", 41, {"commonPROGRAMfiles=/opt/common"}, "/opt/common"},
        ResolveCase{
            "variable wins over the store", 38, {"HOME={home}", "UserProfile=/profiles/u"}, "/profiles/u"},
        ResolveCase{"first matching variable wins", 35, {"TEMP=/first", "temp=/second"}, "/first"},
        ResolveCase{"empty variable counts as missing", 35, {"HOME={home}", "TEMP="}, "/tmp"},
        ResolveCase{"name with a space", 24, {"Common AppData=/srv/common"}, "/srv/common"},
        ResolveCase{"value converted to code page 936",
                    36,
                    {"WINDIR=/w/\xE8\xB7\xAF\xE5\xBE\x84"},
                    "/w/\xC2\xB7\xBE\xB6"},
        // The command interpreter's folder for row 37.
        ResolveCase{
            "interpreter from ComSpec", 37, {"ComSpec=/opt/tools/cmd.exe", "SHELL=/bin/bash"}, "/opt/tools"},
        ResolveCase{"interpreter from SHELL", 37, {"SHELL=/usr/bin/zsh"}, "/usr/bin"},
        ResolveCase{"empty ComSpec falls to SHELL", 37, {"COMSPEC=", "SHELL=/bin/sh"}, "/bin"},
        ResolveCase{"no interpreter", 37, {"HOME={home}"}, ""},
        ResolveCase{"interpreter at the root", 37, {"SHELL=/sh"}, ""},
        ResolveCase{"interpreter without a folder", 37, {"SHELL=bash"}, ""},
        ResolveCase{"variable named like row 37 wins", 37, {"System32=/sys32", "SHELL=/bin/sh"}, "/sys32"},
        // The per-user store: the home folder and the XDG base folders.
        ResolveCase{"profile from HOME", 38, {"HOME={home}"}, "{home}"},
        ResolveCase{"config folder", 1, {"HOME={home}"}, "{home}/.config"},
        ResolveCase{"config folder from XDG", 1, {"HOME={home}", "XDG_CONFIG_HOME=/cfg"}, "/cfg"},
        ResolveCase{"cache folder", 2, {"HOME={home}"}, "{home}/.cache"},
        ResolveCase{
            "cache folder from XDG", 2, {"HOME={home}", "XDG_CACHE_HOME=/var/cache/u"}, "/var/cache/u"},
        ResolveCase{"data folder", 9, {"HOME={home}"}, "{home}/.local/share"},
        ResolveCase{"relative XDG value ignored",
                    9,
                    {"HOME={home}", "XDG_DATA_HOME=rel/share"},
                    "{home}/.local/share"},
        ResolveCase{"fonts", 7, {"HOME={home}"}, "{home}/.local/share/fonts"},
        ResolveCase{"temp", 35, {"HOME={home}"}, "/tmp"},
        // The per-user store: the XDG user folders.
        ResolveCase{"desktop, the later line wins", 5, {"HOME={home}"}, "{home}/Desktop"},
        ResolveCase{"documents, absolute", 15, {"HOME={home}"}, "/srv/docs"},
        ResolveCase{"music, a CJK name", 11, {"HOME={home}"}, "{home}/\xD2\xF4\xC0\xD6"},
        ResolveCase{"pictures, escaped quotes", 12, {"HOME={home}"}, "{home}/My \"Pics\""},
        ResolveCase{"videos, only commented out", 13, {"HOME={home}"}, ""},
        ResolveCase{"templates, the home itself", 22, {"HOME={home}"}, "{home}"},
        ResolveCase{"user folders below XDG_CONFIG_HOME",
                    5,
                    {"HOME={home}", "XDG_CONFIG_HOME={other}/cfg"},
                    "/elsewhere/Desktop"},
        // Names the store does not hold, and the per-machine rows.
        ResolveCase{"cookies", 4, {"HOME={home}"}, ""},
        ResolveCase{"per-machine row", 24, {"HOME={home}"}, ""},
        ResolveCase{"per-machine row without a space", 41, {"HOME={home}"}, ""},
        // Out-of-range indexes are row 1.
        ResolveCase{"index 0", 0, {"HOME={home}"}, "{home}/.config"},
        ResolveCase{"index -5", -5, {"appdata=/ad"}, "/ad"},
        ResolveCase{"index 44", 44, {"HOME={home}", "XDG_CONFIG_HOME=/cfg"}, "/cfg"}),
    [](const ::testing::TestParamInfo<ResolveCase>& info) {
      std::string name;
      for (char c : std::string(info.param.what))
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

TEST(ResolveKnownFolderRowsTest, ProfileFallsBackToThePasswordEntryWithoutHome) {
  ScopedEnvironment saved;
  passwd* entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  const std::string expected = entry->pw_dir;
  for (const std::vector<std::string>& environment :
       {std::vector<std::string>{}, std::vector<std::string>{"HOME="}}) {
    ScopedEnvironment::Replace(environment);
    EXPECT_EQ(ResolveKnownFolder(kUserProfileRow), TextFromNative(expected));
  }
}

TEST(ResolveKnownFolderRowsTest, LastRowIsTheProgramFolderWhateverTheEnvironment) {
  ScopedEnvironment saved;
  const std::string programFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
  ScopedEnvironment::Replace(
      {"\xE8\xBD\xAF\xE4\xBB\xB6\xE5\xAE\x89\xE8\xA3\x85\xE7\x9B\xAE\xE5\xBD\x95=/not/this",
       "HOME=/not/this/either"});
  ASSERT_NE(std::getenv("\xE8\xBD\xAF\xE4\xBB\xB6\xE5\xAE\x89\xE8\xA3\x85\xE7\x9B\xAE\xE5\xBD\x95"), nullptr);
  EXPECT_EQ(ResolveKnownFolder(kKnownFolderCount), TextFromNative(programFolder));
  EXPECT_FALSE(ResolveKnownFolder(kKnownFolderCount).empty());
}

TEST(HomeFolderTest, IsTheProfileWithASeparator) {
  ScopedEnvironment saved;
  ScopedEnvironment::Replace({"HOME=/home/user"});
  EXPECT_EQ(HomeFolder(), "/home/user/");
  ScopedEnvironment::Replace({"HOME=/home/user", "USERPROFILE=/profiles/other"});
  EXPECT_EQ(HomeFolder(), "/profiles/other/");
}

}  // namespace
}  // namespace appdu
