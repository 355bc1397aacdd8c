#pragma once

// Narrow access to the running process, for the window's start-up.

#include <string>

namespace appdu::platform {

// True when the process runs with the superuser's rights.
bool RunningAsSuperuser();

// Makes `folder` (native bytes) the process's current folder; false when it
// cannot be entered.
bool SetCurrentFolder(const std::string& folder);

// Sets a variable of the process's own environment.
bool SetEnvironmentVariable(const std::string& name, const std::string& value);

// A new, empty folder of our own among the temporary files, readable by this
// user only; the empty text when none can be made.
std::string MakePrivateFolder();

// Removes a folder that MakePrivateFolder made, with everything in it.
void RemovePrivateFolder(const std::string& folder);

}  // namespace appdu::platform
