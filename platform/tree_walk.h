#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace appdu::platform {

struct WalkedFile {
  std::string name;
  // The entry's own recorded size; 0 when not asked for or unreadable.
  std::uint64_t size = 0;
};

// Receives a tree walk. Each callback returns false to stop the walk.
class TreeVisitor {
 public:
  virtual ~TreeVisitor() = default;
  // The non-folder entries of the folder being visited, in directory order,
  // before any of its subfolders.
  virtual bool VisitFiles(const std::vector<WalkedFile>& files) = 0;
  // A subfolder of the folder being visited, about to be walked.
  virtual bool EnterFolder(std::string_view name) = 0;
  // That subfolder's whole subtree has been walked (or it could not be read,
  // or it was already walked through another link).
  virtual bool LeaveFolder() = 0;
};

// Walks the tree below `root` depth-first in pre-order: a folder's files, then
// each subfolder's subtree in directory order. Links to folders are followed,
// but each folder (device, inode) is walked at most once per call, so link
// loops end. Depth is bounded by memory only: no recursion, and a bounded
// number of open descriptors. Returns false when the visitor stopped it.
bool WalkTree(const std::string& root, bool withSizes, TreeVisitor& visitor);

}  // namespace appdu::platform
