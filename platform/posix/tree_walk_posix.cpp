#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unordered_set>

#include "platform/posix/posix_paths.h"
#include "platform/posix/read_directory_posix.h"
#include "platform/posix/size_reader_posix.h"
#include "platform/tree_walk.h"

namespace appdu::platform {
namespace {

// How many folder descriptors stay open below the root. Deeper folders are
// reopened from the nearest open ancestor when they are needed again, so no
// depth runs out of descriptors and no path grows past PATH_MAX.
constexpr std::size_t kOpenFolderWindow = 48;

struct FolderId {
  dev_t device;
  ino_t inode;
  bool operator==(const FolderId&) const = default;
};
struct FolderIdHash {
  std::size_t operator()(const FolderId& id) const {
    return std::hash<ino_t>()(id.inode) * 31 + std::hash<dev_t>()(id.device);
  }
};

struct Frame {
  int fd = -1;  // -1 while closed to save descriptors
  FolderId id{};
  std::string name;  // relative to the parent frame
  std::vector<std::string> subfolders;
  std::size_t next = 0;
};

class Walk {
 public:
  Walk(bool withSizes, TreeVisitor& visitor) : withSizes_(withSizes), visitor_(visitor) {}
  ~Walk() {
    for (Frame& frame : stack_)
      if (frame.fd >= 0) posix::CloseQuietly(frame.fd);
  }

  bool Run(const std::string& root) {
    const int fd = posix::OpenDirectory(root);
    if (fd < 0) return true;  // nothing to walk
    if (!Push(fd, root)) return false;
    while (!stack_.empty()) {
      Frame& top = stack_.back();
      if (top.next == top.subfolders.size()) {
        if (top.fd >= 0) posix::CloseQuietly(top.fd);
        stack_.pop_back();
        if (!stack_.empty() && !visitor_.LeaveFolder()) return false;
        continue;
      }
      std::string name = std::move(top.subfolders[top.next++]);
      if (!visitor_.EnterFolder(name)) return false;
      const int parentFd = Reopen(stack_.size() - 1);
      const int childFd =
          parentFd < 0 ? -1 : openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (childFd < 0) {
        if (!visitor_.LeaveFolder()) return false;
        continue;
      }
      if (!Push(childFd, std::move(name))) return false;
    }
    return true;
  }

 private:
  // Reads a newly opened folder, hands its files to the visitor and keeps its
  // subfolders for later. A folder already walked is closed and left at once.
  bool Push(int fd, std::string name) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !visited_.insert({status.st_dev, status.st_ino}).second) {
      posix::CloseQuietly(fd);
      return stack_.empty() || visitor_.LeaveFolder();
    }
    Frame frame;
    frame.fd = fd;
    frame.id = {status.st_dev, status.st_ino};
    frame.name = std::move(name);

    files_.clear();
    DirectoryReader reader(fd);
    std::string_view entryName;
    EntryKind kind;
    while (reader.Next(entryName, kind)) {
      if (kind == EntryKind::Folder) {
        frame.subfolders.emplace_back(entryName);
      } else {
        files_.push_back({std::string(entryName), 0});
      }
    }
    if (withSizes_) sizes_.ReadSizes(fd, files_);
    stack_.push_back(std::move(frame));
    LimitOpenFolders();
    return visitor_.VisitFiles(files_);
  }

  // Keeps the root and the deepest kOpenFolderWindow folders open.
  void LimitOpenFolders() {
    if (stack_.size() <= kOpenFolderWindow + 1) return;
    Frame& old = stack_[stack_.size() - 1 - kOpenFolderWindow];
    if (old.fd >= 0) {
      posix::CloseQuietly(old.fd);
      old.fd = -1;
    }
  }

  // The descriptor of stack_[index], reopening it and the closed folders above
  // it from the nearest open ancestor. -1 when a folder on the way is gone or
  // is no longer the one walked before.
  int Reopen(std::size_t index) {
    if (stack_[index].fd >= 0) return stack_[index].fd;
    std::size_t open = index;
    while (stack_[open].fd < 0) --open;  // the root always stays open
    for (std::size_t i = open + 1; i <= index; ++i) {
      Frame& frame = stack_[i];
      frame.fd = openat(stack_[i - 1].fd, frame.name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      struct stat status;
      if (frame.fd >= 0 &&
          (fstat(frame.fd, &status) != 0 || FolderId{status.st_dev, status.st_ino} != frame.id)) {
        posix::CloseQuietly(frame.fd);
        frame.fd = -1;
      }
      if (frame.fd < 0) {
        // Changed under us: walk nothing more below this point.
        for (std::size_t j = i; j <= index; ++j) stack_[j].next = stack_[j].subfolders.size();
        return -1;
      }
    }
    // Close again what lies outside the window.
    for (std::size_t i = open + 1; i + kOpenFolderWindow < stack_.size() && i > 0; ++i) {
      if (stack_[i].fd >= 0) {
        posix::CloseQuietly(stack_[i].fd);
        stack_[i].fd = -1;
      }
    }
    return stack_[index].fd;
  }

  bool withSizes_;
  TreeVisitor& visitor_;
  std::vector<Frame> stack_;
  std::vector<WalkedFile> files_;
  std::unordered_set<FolderId, FolderIdHash> visited_;
  SizeReader sizes_;
};

}  // namespace

bool WalkTree(const std::string& root, bool withSizes, TreeVisitor& visitor) {
  return Walk(withSizes, visitor).Run(root);
}

}  // namespace appdu::platform
