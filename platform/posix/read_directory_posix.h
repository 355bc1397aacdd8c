#pragma once

// Reads a directory through its descriptor in large batches and tells folders
// from files the way the rest of the system sees them.

#include <array>
#include <cstdint>
#include <string_view>

namespace appdu::platform {

enum class EntryKind { File, Folder };

class DirectoryReader {
 public:
  explicit DirectoryReader(int directoryFd) : fd_(directoryFd) {}

  // The next entry except "." and "..": a folder is a directory or a link to
  // one, anything else is a file. With `size`, a file's own recorded size is
  // read too (0 when it cannot be). False at the end or on a read error.
  bool Next(std::string_view& name, EntryKind& kind, std::uint64_t* size = nullptr);

 private:
  int fd_;
  long filled_ = 0;
  long at_ = 0;
  alignas(8) std::array<char, 32768> buffer_;
};

}  // namespace appdu::platform
