#include "platform/posix/read_directory_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace appdu::platform {
namespace {

std::uint64_t SizeOf(const struct stat& status) {
  return status.st_size < 0 ? 0 : static_cast<std::uint64_t>(status.st_size);
}

}  // namespace

bool DirectoryReader::Next(std::string_view& name, EntryKind& kind, std::uint64_t* size) {
  for (;;) {
    if (at_ >= filled_) {
      filled_ = getdents64(fd_, buffer_.data(), buffer_.size());
      at_ = 0;
      if (filled_ <= 0) return false;
    }
    const auto* entry = reinterpret_cast<const struct dirent64*>(buffer_.data() + at_);
    at_ += entry->d_reclen;
    const char* entryName = entry->d_name;
    if (entryName[0] == '.' && (entryName[1] == '\0' || (entryName[1] == '.' && entryName[2] == '\0')))
      continue;
    name = std::string_view(entryName);

    struct stat status;
    switch (entry->d_type) {
      case DT_DIR:
        kind = EntryKind::Folder;
        return true;
      case DT_LNK:
        // A link to a folder is a folder; any other link is a file of its own size.
        if (fstatat(fd_, entryName, &status, 0) == 0 && S_ISDIR(status.st_mode)) {
          kind = EntryKind::Folder;
          return true;
        }
        break;
      case DT_UNKNOWN:
        if (fstatat(fd_, entryName, &status, AT_SYMLINK_NOFOLLOW) != 0) {
          kind = EntryKind::File;
          if (size) *size = 0;
          return true;
        }
        if (S_ISDIR(status.st_mode)) {
          kind = EntryKind::Folder;
          return true;
        }
        if (S_ISLNK(status.st_mode)) {
          struct stat target;
          if (fstatat(fd_, entryName, &target, 0) == 0 && S_ISDIR(target.st_mode)) {
            kind = EntryKind::Folder;
            return true;
          }
        }
        kind = EntryKind::File;
        if (size) *size = SizeOf(status);
        return true;
      default:
        break;
    }
    kind = EntryKind::File;
    if (size) *size = fstatat(fd_, entryName, &status, AT_SYMLINK_NOFOLLOW) == 0 ? SizeOf(status) : 0;
    return true;
  }
}

}  // namespace appdu::platform
