#pragma once

// Real temporary folder trees for tests. Paths here are native bytes.

#include <cstdint>
#include <string>

namespace appdu::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's absolute path, without a trailing "/".
  const std::string& path() const { return path_; }
  // path() + "/" + relative.
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

  // Creates the folder and any missing parents.
  void MakeFolder(const std::string& relative) const;
  // Creates a file of `size` bytes (parents included); sparse when `sparse`.
  void MakeFile(const std::string& relative, std::uint64_t size, bool sparse = false) const;
  // A symbolic link at `relative` pointing at `target` (taken as it is).
  void MakeLink(const std::string& relative, const std::string& target) const;
  // A chain of `depth` nested folders named "d" below `relative`, built with
  // descriptors so that no call needs the long path. Every `every` levels the
  // folder gets a file "f" of as many bytes as its level and an empty folder
  // "side"; the deepest folder gets a file "last" of 5 bytes.
  void MakeDeepChain(const std::string& relative, int depth, int every) const;
  // Sets the last-write time of the entry itself (links are not followed).
  void SetModified(const std::string& relative, std::int64_t secondsSinceEpoch) const;

 private:
  std::string path_;
};

// Runs a shell command line in tests that build large fixtures; fails the test on error.
void RunOrFail(const std::string& command);

// True when the process can read anything regardless of permissions (root).
bool RunningAsRoot();

// For a child process of a test: gives up root for the "nobody" user, so that
// permissions apply. False when that fails.
bool DropRootForNobody();

}  // namespace appdu::testing
