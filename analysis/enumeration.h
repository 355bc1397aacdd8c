#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "encoding/text.h"
#include "platform/file_system.h"

namespace appdu {

// Which entries a directory search accepts.
enum class EntryFilter { Folders, Files };

// One open directory search. The directory is read whole when the search
// starts, so a search holds no descriptor while it is open.
struct SearchHandle {
  bool open = false;
  Text pattern;
  std::vector<platform::DirectoryEntry> entries;
  std::size_t next = 0;
};

// Starts a search when `searchPath` is not empty (folder/pattern), otherwise
// goes on with the open one. Returns the next accepted name, or the empty
// text when there is none (the search is then closed).
Text FindEntry(const Text& searchPath, EntryFilter filter, SearchHandle& handle);

// Appends the immediate subfolders of `folder` to `list`, in directory order;
// returns the number of entries in `list` afterwards.
int EnumerateSubfolders(const Text& folder, TextList& list, bool withPath = false);

// Lists the files of `folder` matching `patterns` ("|"-separated wildcard
// patterns), and with `recursive` every file below it at any depth,
// depth-first in pre-order. Empties `list` first unless `recursive`.
// Returns the number of entries in `list` afterwards.
int EnumerateFiles(const Text& folder, const Text& patterns, TextList& list, bool withPath = false,
                   bool recursive = false);

// The recorded size of one file; 0 when there is no entry at `path`.
std::int64_t QueryFileSize(const Text& path);

// The total of QueryFileSize over every file EnumerateFiles(folder, "*.*",
// list, true, true) would list, measured in one walk without building the
// list. `afterEach` runs after every file and after every subfolder, like the
// pump in EnumerateFiles; when it returns false the walk stops and nothing
// is returned.
std::optional<std::int64_t> MeasureFolder(const Text& folder, const std::function<bool()>& afterEach);

// Lets the front end process its pending events during a long enumeration.
// Does nothing until a front end installs a hook.
using PumpHook = std::function<void()>;
void SetPumpHook(PumpHook hook);
void PumpPendingMessages();

// The folder text with one separator at its end ("/" for the empty text).
Text FolderWithSeparator(const Text& folder);

}  // namespace appdu
