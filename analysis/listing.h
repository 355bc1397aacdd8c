#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "analysis/listing_controls.h"
#include "encoding/text.h"
#include "platform/clock.h"

namespace appdu {

// One measured subfolder.
struct FolderEntry {
  Text path;
  std::int64_t size = 0;
};

// What a listing reads and writes outside itself. The front end owns one for
// the life of its window.
struct ListingSession {
  ListingSession(ListingControls& controls, const platform::Clock& clock)
      : controls(controls), clock(clock) {}

  ListingControls& controls;
  const platform::Clock& clock;
  // The folder on show, spelled as it was passed to ListFolder; written only
  // by ListFolder.
  Text currentFolder;
  // Counts the listings started; a listing that finds a later one has
  // started (from inside its own pump) stops and writes nothing more.
  std::uint64_t listingsStarted = 0;
  // Set by a front end that is closing: the running listing stops at its
  // next pump.
  bool stopRequested = false;
  // Optional: told the exact figures behind each row as it is written, for a
  // front end that reports more than the cell texts.
  std::function<void(int row, const FolderEntry& entry, std::optional<platform::TimeValue> modified)>
      rowWritten;
};

// Makes `folder` the current folder, measures each of its immediate
// subfolders and fills the list with them, largest first.
void ListFolder(ListingSession& session, const Text& folder);

// The two passes of a listing: measure every subfolder, then write the rows.
// Returns false when the listing was superseded or asked to stop.
bool ScanAndFill(ListingSession& session, const TextList& subfolders);

// Sets the progress position and the percent text from the stored values.
void UpdateProgress(ListingControls& controls, std::int32_t position);

// Orders entries by size. Entries of equal size end in the reverse of their
// input order (the order an insertion sort that puts each entry before the
// first of equal size gives).
void SortEntriesBySize(std::vector<FolderEntry>& entries, bool descending = false);

// The elapsed time between the two times as days, hours, minutes and seconds
// ("1天2时3分4秒"); parts that are 0 are left out. Nothing for an unknown
// modification time.
Text FormatAge(std::optional<platform::TimeValue> modified, platform::TimeValue now);

// "1023B", "1.13KB", "5120GB": two decimals at most, half away from zero.
Text FormatSize(std::int64_t size);

}  // namespace appdu
