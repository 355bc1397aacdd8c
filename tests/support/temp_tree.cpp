// Test fixtures reach the OS directly: they build what the code under test reads.
#include "support/temp_tree.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace appdu::testing {
namespace {

void Check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what + ": " + std::to_string(errno));
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/appdu-test-XXXXXX";
  Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  // chmod first so that folders a test made unreadable go too; rm copes with
  // any depth and path length.
  const std::string command = "chmod -R u+rwx " + Quoted(path_) + " 2>/dev/null; rm -rf " + Quoted(path_);
  if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", path_.c_str());
}

void TempDir::MakeFolder(const std::string& relative) const {
  std::string path = path_;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    path += "/" + relative.substr(start, end - start);
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) Check(false, "mkdir " + path);
    start = end + 1;
  }
}

void TempDir::MakeFile(const std::string& relative, std::uint64_t size, bool sparse) const {
  const std::size_t slash = relative.rfind('/');
  if (slash != std::string::npos) MakeFolder(relative.substr(0, slash));
  const std::string path = *this / relative;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  Check(fd >= 0, "open " + path);
  if (sparse) {
    Check(ftruncate(fd, static_cast<off_t>(size)) == 0, "ftruncate");
  } else {
    std::string block(4096, 'x');
    for (std::uint64_t left = size; left > 0;) {
      const std::size_t chunk = left < block.size() ? static_cast<std::size_t>(left) : block.size();
      Check(write(fd, block.data(), chunk) == static_cast<ssize_t>(chunk), "write");
      left -= chunk;
    }
  }
  close(fd);
}

void TempDir::MakeLink(const std::string& relative, const std::string& target) const {
  const std::size_t slash = relative.rfind('/');
  if (slash != std::string::npos) MakeFolder(relative.substr(0, slash));
  Check(symlink(target.c_str(), (*this / relative).c_str()) == 0, "symlink");
}

void TempDir::MakeDeepChain(const std::string& relative, int depth, int every) const {
  MakeFolder(relative);
  int fd = open((*this / relative).c_str(), O_RDONLY | O_DIRECTORY);
  Check(fd >= 0, "open chain root");
  const auto writeFile = [](int dirFd, const char* name, int size) {
    const int file = openat(dirFd, name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Check(file >= 0, "openat file");
    Check(ftruncate(file, size) == 0, "ftruncate");
    close(file);
  };
  for (int level = 1; level <= depth; ++level) {
    Check(mkdirat(fd, "d", 0755) == 0, "mkdirat");
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
    Check(fd >= 0, "openat chain");
    if (level % every == 0) {
      writeFile(fd, "f", level);
      Check(mkdirat(fd, "side", 0755) == 0, "mkdirat side");
    }
  }
  writeFile(fd, "last", 5);
  close(fd);
}

void TempDir::SetModified(const std::string& relative, std::int64_t secondsSinceEpoch) const {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(secondsSinceEpoch);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  Check(utimensat(AT_FDCWD, (*this / relative).c_str(), times, AT_SYMLINK_NOFOLLOW) == 0, "utimensat");
}

void RunOrFail(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

bool RunningAsRoot() { return geteuid() == 0; }

bool DropRootForNobody() {
  constexpr gid_t kNogroup = 65534;
  constexpr uid_t kNobody = 65534;
  return setgroups(0, nullptr) == 0 && setgid(kNogroup) == 0 && setuid(kNobody) == 0;
}

}  // namespace appdu::testing
