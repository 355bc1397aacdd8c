#pragma once

// Descriptor helpers shared by the POSIX file-system files.

#include <string>

namespace appdu::platform::posix {

// Opens a directory for reading, following a path longer than PATH_MAX piece
// by piece. -1 when it cannot be opened.
int OpenDirectory(const std::string& path);

// Closes a descriptor, keeping errno as it was.
void CloseQuietly(int fd);

}  // namespace appdu::platform::posix
