#include <array>
#include <optional>
#include <string_view>

#include "encoding/native_name.h"
#include "navigation/navigation.h"
#include "platform/environment.h"
#include "platform/path_separator.h"

namespace appdu {
namespace {

// "软件安装目录" (the program's own folder) in code page 936.
constexpr std::string_view kProgramFolderName = "\xC8\xED\xBC\xFE\xB0\xB2\xD7\xB0\xC4\xBF\xC2\xBC";

constexpr std::array<std::string_view, kKnownFolderCount> kKnownFolders = {
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
    kProgramFolderName,
};

constexpr std::string_view kSystemFolderName = "system32";

// ASCII letters lower-cased; both bytes of a double-byte character are kept
// as they are, since a trail byte may look like a capital letter.
Text LowerCased(std::string_view text) {
  Text lower(text);
  for (std::size_t i = 0; i < lower.size(); ++i) {
    if (IsLeadByte(lower[i])) {
      ++i;
    } else if (lower[i] >= 'A' && lower[i] <= 'Z') {
      lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
    }
  }
  return lower;
}

// The environment variable of that name ignoring case; a variable set to
// the empty value counts as missing.
std::optional<Text> EnvironmentText(std::string_view name) {
  std::optional<std::string> value = platform::EnvironmentVariable(NativeFromText(name));
  if (!value || value->empty()) return std::nullopt;
  return TextFromNative(*value);
}

// The command interpreter's folder: the interpreter's path cut before its
// last separator. Windows names the interpreter in ComSpec; elsewhere the
// user's shell stands in when ComSpec is missing.
Text CommandInterpreterFolder() {
  std::optional<Text> interpreter = EnvironmentText("ComSpec");
#ifndef _WIN32
  if (!interpreter) interpreter = EnvironmentText("SHELL");
#endif
  if (!interpreter) return {};
  std::size_t last = Text::npos;
  for (std::size_t i = 0; i < interpreter->size(); ++i) {
    if (IsLeadByte((*interpreter)[i])) {
      ++i;
    } else if ((*interpreter)[i] == platform::kPathSeparator) {
      last = i;
    }
  }
  return last == Text::npos ? Text() : interpreter->substr(0, last);
}

}  // namespace

Text KnownFolderName(int index) {
  if (index < 1 || index > kKnownFolderCount) index = 1;
  return Text(kKnownFolders[static_cast<std::size_t>(index - 1)]);
}

Text ResolveKnownFolder(int index) {
  const Text name = LowerCased(KnownFolderName(index));
  if (name == kProgramFolderName) return TextFromNative(platform::ExecutableFolder());
  if (std::optional<Text> value = EnvironmentText(name)) return *value;
  if (name == kSystemFolderName) return CommandInterpreterFolder();
  const bool perMachine = LowerCased(std::string_view(name).substr(0, 6)) == "common";
  return TextFromNative(platform::ShellFolderValue(
      perMachine ? platform::ShellFolderScope::PerMachine : platform::ShellFolderScope::PerUser,
      NativeFromText(name)));
}

Text HomeFolder() { return ResolveKnownFolder(kUserProfileRow) + platform::kProfileDataSuffix; }

}  // namespace appdu
