#include "analysis/enumeration.h"

#include "analysis/wildcard.h"
#include "encoding/native_name.h"
#include "platform/path_separator.h"
#include "platform/tree_walk.h"

namespace appdu {
namespace {

using platform::kPathSeparator;

PumpHook& InstalledPumpHook() {
  static PumpHook hook;
  return hook;
}

bool Accepts(EntryFilter filter, const platform::DirectoryEntry& entry) {
  return entry.isFolder == (filter == EntryFilter::Folders);
}

// Lists the files of a walked tree the way the directory searches would:
// per folder, pattern by pattern, then the subfolders.
class FileListVisitor final : public platform::TreeVisitor {
 public:
  FileListVisitor(const Text& base, TextList patterns, TextList& list, bool withPath, bool recursive)
      : patterns_(std::move(patterns)),
        list_(list),
        withPath_(withPath),
        recursive_(recursive),
        base_(base) {}

  bool VisitFiles(const std::vector<platform::WalkedFile>& files) override {
    if (patterns_.empty() || files.empty()) return true;
    TextList names;
    names.reserve(files.size());
    for (const platform::WalkedFile& file : files) names.push_back(TextFromNative(file.name));
    for (const Text& pattern : patterns_) {
      for (const Text& name : names) {
        if (!WildcardMatch(pattern, name)) continue;
        list_.push_back(withPath_ ? base_ + name : name);
        PumpPendingMessages();
      }
    }
    return true;
  }

  bool EnterFolder(std::string_view name) override {
    if (!recursive_) return false;
    baseLengths_.push_back(base_.size());
    base_ += TextFromNative(name);
    base_ += kPathSeparator;
    return true;
  }

  bool LeaveFolder() override {
    base_.resize(baseLengths_.back());
    baseLengths_.pop_back();
    PumpPendingMessages();
    return true;
  }

 private:
  const TextList patterns_;
  TextList& list_;
  bool withPath_;
  bool recursive_;
  // The folder being visited, with its separator; one text for the whole
  // walk, so a deep tree costs its depth, not its depth squared.
  Text base_;
  std::vector<std::size_t> baseLengths_;
};

class SizeVisitor final : public platform::TreeVisitor {
 public:
  explicit SizeVisitor(const std::function<bool()>& afterEach) : afterEach_(afterEach) {}

  bool VisitFiles(const std::vector<platform::WalkedFile>& files) override {
    for (const platform::WalkedFile& file : files) {
      total_ += static_cast<std::int64_t>(file.size);
      if (afterEach_ && !afterEach_()) return false;
    }
    return true;
  }
  bool EnterFolder(std::string_view) override { return true; }
  bool LeaveFolder() override { return !afterEach_ || afterEach_(); }

  std::int64_t total() const { return total_; }

 private:
  const std::function<bool()>& afterEach_;
  std::int64_t total_ = 0;
};

}  // namespace

Text FolderWithSeparator(const Text& folder) {
  if (!folder.empty() && folder.back() == kPathSeparator) return folder;
  return folder + kPathSeparator;
}

Text FindEntry(const Text& searchPath, EntryFilter filter, SearchHandle& handle) {
  if (!searchPath.empty()) {
    handle = SearchHandle{};
    const std::size_t separator = searchPath.rfind(kPathSeparator);
    const Text folder = separator == Text::npos ? Text() : searchPath.substr(0, separator + 1);
    if (!platform::ReadDirectory(NativeFromText(folder), handle.entries)) return {};
    handle.pattern = separator == Text::npos ? searchPath : searchPath.substr(separator + 1);
    handle.open = true;
  } else if (!handle.open) {
    return {};
  }
  while (handle.next < handle.entries.size()) {
    const platform::DirectoryEntry& entry = handle.entries[handle.next++];
    if (!Accepts(filter, entry)) continue;
    Text name = TextFromNative(entry.name);
    if (WildcardMatch(handle.pattern, name)) return name;
  }
  handle = SearchHandle{};
  return {};
}

int EnumerateSubfolders(const Text& folder, TextList& list, bool withPath) {
  const Text base = FolderWithSeparator(folder);
  SearchHandle handle;
  for (Text name = FindEntry(base + "*.*", EntryFilter::Folders, handle); !name.empty();
       name = FindEntry({}, EntryFilter::Folders, handle)) {
    list.push_back(withPath ? base + name : name);
  }
  return static_cast<int>(list.size());
}

int EnumerateFiles(const Text& folder, const Text& patterns, TextList& list, bool withPath, bool recursive) {
  if (!recursive) list.clear();
  const Text base = FolderWithSeparator(folder);
  FileListVisitor visitor(base, SplitPatterns(patterns), list, withPath, recursive);
  platform::WalkTree(NativeFromText(base), false, visitor);
  return static_cast<int>(list.size());
}

std::int64_t QueryFileSize(const Text& path) {
  if (path.empty()) return 0;
  return static_cast<std::int64_t>(platform::EntrySize(NativeFromText(path)).value_or(0));
}

std::optional<std::int64_t> MeasureFolder(const Text& folder, const std::function<bool()>& afterEach) {
  SizeVisitor visitor(afterEach);
  if (!platform::WalkTree(NativeFromText(FolderWithSeparator(folder)), true, visitor)) return std::nullopt;
  return visitor.total();
}

void SetPumpHook(PumpHook hook) { InstalledPumpHook() = std::move(hook); }

void PumpPendingMessages() {
  const PumpHook& hook = InstalledPumpHook();
  if (hook) hook();
}

}  // namespace appdu
