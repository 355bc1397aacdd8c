#pragma once

// Narrow access to the desktop's file manager.

#include <string>

namespace appdu::platform {

// Asks the desktop's file manager to open the folder that holds `path`
// (native bytes) with `path` selected, without waiting for it to answer.
// Returns true when the request was sent. Never runs a shell: the path
// reaches the file manager exactly as given.
bool ShowInFileManager(const std::string& path);

}  // namespace appdu::platform
