#pragma once

// Narrow access to the file system. Paths here are native bytes (what the OS
// takes); callers convert texts with NativeFromText. Paths longer than the
// OS's own limit are followed component by component, so nothing is dropped.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace appdu::platform {

struct DirectoryEntry {
  std::string name;
  // A directory, or a link whose target is a directory.
  bool isFolder = false;
};

// Every entry of a folder except "." and "..", in the order the OS returns
// them. False (and no entries) when the folder cannot be read.
bool ReadDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries);

// The size recorded for the entry itself (a link counts its own size); the
// file is never opened. Nothing when there is no entry.
std::optional<std::uint64_t> EntrySize(const std::string& path);

// Last-write time of the entry itself, in seconds since 1970-01-01 UTC.
std::optional<std::int64_t> LastWriteTime(const std::string& path);

// True when an entry (of any kind, a broken link included) exists at the path.
bool PathExists(const std::string& path);

}  // namespace appdu::platform
