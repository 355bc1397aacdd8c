#include <ftw.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "platform/posix/environment_posix.h"
#include "platform/process.h"

namespace appdu::platform {

bool RunningAsSuperuser() { return geteuid() == 0; }

bool SetCurrentFolder(const std::string& folder) { return !folder.empty() && chdir(folder.c_str()) == 0; }

bool SetEnvironmentVariable(const std::string& name, const std::string& value) {
  return setenv(name.c_str(), value.c_str(), 1) == 0;
}

std::string MakePrivateFolder() {
  std::string base = "/tmp";
  for (char** entry = EnvironmentForPrograms(); *entry != nullptr; ++entry) {
    const std::string pair(*entry);
    if (pair.starts_with("TMPDIR=/")) base = pair.substr(7);
  }
  std::string pattern = base + "/appdu-XXXXXX";
  return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

void RemovePrivateFolder(const std::string& folder) {
  if (folder.empty()) return;
  // Deepest entries first; links are removed, never followed.
  nftw(
      folder.c_str(),
      [](const char* path, const struct stat*, int, struct FTW*) {
        std::remove(path);
        return 0;
      },
      64, FTW_DEPTH | FTW_PHYS);
}

}  // namespace appdu::platform
