#pragma once

// Narrow access to the running process, for the window's start-up.

#include <string>

namespace appdu::platform {

// True when the process runs with the superuser's rights.
bool RunningAsSuperuser();

// Makes `folder` (native bytes) the process's current folder; false when it
// cannot be entered.
bool SetCurrentFolder(const std::string& folder);

}  // namespace appdu::platform
