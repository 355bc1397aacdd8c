#include "platform/posix/environment_posix.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/environment.h"

extern char** environ;

namespace appdu::platform {
namespace {

// The environment as it was when KeepStartEnvironment ran.
struct KeptEnvironment {
  bool kept = false;
  std::vector<std::string> entries;
  std::vector<char*> pointers;
};

KeptEnvironment& Kept() {
  static KeptEnvironment kept;
  return kept;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// A variable of this exact name that is set to something.
std::string NonEmptyVariable(std::string_view name) {
  for (char** entry = EnvironmentForPrograms(); *entry != nullptr; ++entry) {
    const std::string_view pair(*entry);
    if (pair.size() > name.size() && pair[name.size()] == '=' && pair.starts_with(name)) {
      return std::string(pair.substr(name.size() + 1));
    }
  }
  return {};
}

std::string HomeFolderPath() {
  std::string home = NonEmptyVariable("HOME");
  if (!home.empty()) return home;
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE) {
    buffer.resize(buffer.size() * 2);
  }
  return found != nullptr && found->pw_dir != nullptr ? std::string(found->pw_dir) : std::string();
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  if (folder.empty()) return {};
  std::string joined = folder;
  if (joined.back() != '/') joined += '/';
  joined += name;
  return joined;
}

// An XDG base folder: the variable when it holds an absolute path (relative
// values are ignored, as the base directory rules require), else the default
// below the home folder.
std::string XdgBaseFolder(const char* variable, std::string_view defaultBelowHome) {
  std::string value = NonEmptyVariable(variable);
  if (!value.empty() && value.front() == '/') return value;
  return JoinPath(HomeFolderPath(), defaultBelowHome);
}

// One XDG user folder (XDG_<key>_DIR) from user-dirs.dirs. Values are either
// "$HOME/..." or an absolute path, in double quotes with backslash escapes;
// a later line for the same key wins. Empty when the file has no usable line.
std::string XdgUserFolder(std::string_view key) {
  std::ifstream file(JoinPath(XdgBaseFolder("XDG_CONFIG_HOME", ".config"), "user-dirs.dirs"));
  const std::string variable = "XDG_" + std::string(key) + "_DIR";
  std::string found;
  std::string line;
  while (std::getline(file, line)) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, variable.size(), variable) != 0) continue;
    at = line.find_first_not_of(" \t", at + variable.size());
    if (at == std::string::npos || line[at] != '=') continue;
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string::npos || line[at] != '"') continue;
    ++at;
    std::string value;
    bool closed = false;
    for (; at < line.size(); ++at) {
      if (line[at] == '\\' && at + 1 < line.size()) {
        value += line[++at];
      } else if (line[at] == '"') {
        closed = true;
        break;
      } else {
        value += line[at];
      }
    }
    if (!closed) continue;
    constexpr std::string_view kHome = "$HOME";
    if (value.starts_with(kHome) && (value.size() == kHome.size() || value[kHome.size()] == '/')) {
      std::string home = HomeFolderPath();
      if (home.empty()) continue;
      std::string_view rest = std::string_view(value).substr(kHome.size());
      while (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
      found = rest.empty() ? home : JoinPath(home, rest);
    } else if (!value.empty() && value.front() == '/') {
      found = value;
    }
  }
  return found;
}

}  // namespace

char** EnvironmentForPrograms() {
  static char* empty[] = {nullptr};
  if (Kept().kept) return Kept().pointers.data();
  return environ != nullptr ? environ : empty;
}

void KeepStartEnvironment() {
  KeptEnvironment& kept = Kept();
  kept.entries.clear();
  kept.pointers.clear();
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
    kept.entries.emplace_back(*entry);
  for (std::string& entry : kept.entries) kept.pointers.push_back(entry.data());
  kept.pointers.push_back(nullptr);
  kept.kept = true;
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
  for (char** entry = EnvironmentForPrograms(); *entry != nullptr; ++entry) {
    std::string_view pair(*entry);
    std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualIgnoringAsciiCase(pair.substr(0, equals), name)) return std::string(pair.substr(equals + 1));
  }
  return std::nullopt;
}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      std::string path(buffer.data(), static_cast<std::size_t>(length));
      std::size_t slash = path.rfind('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Linux keeps no per-machine shell folders; the per-user ones are the home
// folder, the XDG base folders and the XDG user folders.
std::string ShellFolderValue(ShellFolderScope scope, std::string_view lowerName) {
  if (scope != ShellFolderScope::PerUser) return {};
  if (lowerName == "userprofile") return HomeFolderPath();
  if (lowerName == "local appdata") return XdgBaseFolder("XDG_DATA_HOME", ".local/share");
  if (lowerName == "appdata") return XdgBaseFolder("XDG_CONFIG_HOME", ".config");
  if (lowerName == "cache") return XdgBaseFolder("XDG_CACHE_HOME", ".cache");
  if (lowerName == "fonts") return JoinPath(HomeFolderPath(), ".local/share/fonts");
  if (lowerName == "temp") return "/tmp";
  if (lowerName == "desktop") return XdgUserFolder("DESKTOP");
  if (lowerName == "personal") return XdgUserFolder("DOCUMENTS");
  if (lowerName == "my music") return XdgUserFolder("MUSIC");
  if (lowerName == "my pictures") return XdgUserFolder("PICTURES");
  if (lowerName == "my video") return XdgUserFolder("VIDEOS");
  if (lowerName == "templates") return XdgUserFolder("TEMPLATES");
  return {};
}

}  // namespace appdu::platform
