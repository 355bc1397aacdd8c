#include <unistd.h>

#include "platform/process.h"

namespace appdu::platform {

bool RunningAsSuperuser() { return geteuid() == 0; }

bool SetCurrentFolder(const std::string& folder) { return !folder.empty() && chdir(folder.c_str()) == 0; }

}  // namespace appdu::platform
