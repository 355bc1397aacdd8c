#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"
#include "platform/posix/posix_paths.h"
#include "platform/posix/read_directory_posix.h"

namespace appdu::platform {
namespace posix {

void CloseQuietly(int fd) {
  const int saved = errno;
  close(fd);
  errno = saved;
}

int OpenDirectory(const std::string& path) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  if (path.size() < PATH_MAX) return open(path.empty() ? "." : path.c_str(), kFlags);

  // Too long for one call: walk it in pieces, each ending at a separator.
  int fd = open(path[0] == '/' ? "/" : ".", kFlags);
  std::size_t start = path.find_first_not_of('/');
  while (fd >= 0 && start != std::string::npos && start < path.size()) {
    std::size_t end = std::min(path.size(), start + PATH_MAX - 1);
    if (end < path.size()) {
      const std::size_t cut = path.rfind('/', end);
      if (cut == std::string::npos || cut <= start) {  // one component longer than any name
        CloseQuietly(fd);
        return -1;
      }
      end = cut;
    }
    const std::string piece = path.substr(start, end - start);
    const int next = openat(fd, piece.c_str(), kFlags);
    CloseQuietly(fd);
    fd = next;
    start = path.find_first_not_of('/', end);
  }
  return fd;
}

template <typename Action>
int AtPath(const std::string& path, Action action) {
  if (path.size() < PATH_MAX) return action(AT_FDCWD, path.c_str());
  std::size_t last = path.find_last_not_of('/');
  if (last == std::string::npos) return action(AT_FDCWD, "/");
  const std::size_t slash = path.rfind('/', last);
  if (slash == std::string::npos) return -1;  // a single name longer than PATH_MAX
  const int dirFd = OpenDirectory(path.substr(0, slash + 1));
  if (dirFd < 0) return -1;
  const std::string name = path.substr(slash + 1);
  const int result = action(dirFd, name.c_str());
  CloseQuietly(dirFd);
  return result;
}

}  // namespace posix

namespace {

bool LinkStatus(const std::string& path, struct stat& status) {
  return posix::AtPath(path, [&](int dirFd, const char* name) {
           return fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW);
         }) == 0;
}

}  // namespace

bool ReadDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  const int fd = posix::OpenDirectory(folder);
  if (fd < 0) return false;
  DirectoryReader reader(fd);
  std::string_view name;
  EntryKind kind;
  while (reader.Next(name, kind)) {
    entries.push_back({std::string(name), kind == EntryKind::Folder});
  }
  posix::CloseQuietly(fd);
  return true;
}

std::optional<std::uint64_t> EntrySize(const std::string& path) {
  struct stat status;
  if (path.empty() || !LinkStatus(path, status)) return std::nullopt;
  return status.st_size < 0 ? 0 : static_cast<std::uint64_t>(status.st_size);
}

std::optional<std::int64_t> LastWriteTime(const std::string& path) {
  struct stat status;
  if (path.empty() || !LinkStatus(path, status)) return std::nullopt;
  return static_cast<std::int64_t>(status.st_mtim.tv_sec);
}

bool PathExists(const std::string& path) {
  struct stat status;
  return !path.empty() && LinkStatus(path, status);
}

}  // namespace appdu::platform
