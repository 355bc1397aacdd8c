#include "analysis/listing.h"

#include <string>

#include "analysis/enumeration.h"
#include "encoding/native_name.h"
#include "platform/file_system.h"

namespace appdu {

void ListFolder(ListingSession& session, const Text& folder) {
  session.currentFolder = folder;
  // Any listing still running further out sees this and stops.
  ++session.listingsStarted;
  session.controls.SetStatusText(kFolderPane, folder);
  TextList subfolders;
  EnumerateSubfolders(folder, subfolders, true);
  ScanAndFill(session, subfolders);
}

bool ScanAndFill(ListingSession& session, const TextList& subfolders) {
  ListingControls& controls = session.controls;
  const std::uint64_t listing = session.listingsStarted;
  // Runs after every file and every subfolder measured: lets the front end
  // process its events, then tells whether this listing is still wanted.
  const std::function<bool()> pumpAndContinue = [&session, listing] {
    PumpPendingMessages();
    return session.listingsStarted == listing && !session.stopRequested;
  };

  const std::int64_t count = static_cast<std::int64_t>(subfolders.size());
  controls.RemoveAllRows();
  controls.SetProgressMaximum(ClampProgressValue(2 * count));

  std::vector<FolderEntry> entries;
  entries.reserve(subfolders.size());
  for (std::int64_t i = 0; i < count; ++i) {
    const Text& path = subfolders[static_cast<std::size_t>(i)];
    const std::optional<std::int64_t> size = MeasureFolder(path, pumpAndContinue);
    if (!size) return false;
    entries.push_back({path, *size});
    UpdateProgress(controls, ClampProgressValue(i + 1));
  }

  SortEntriesBySize(entries, true);

  for (std::int64_t i = 0; i < count; ++i) {
    const FolderEntry& entry = entries[static_cast<std::size_t>(i)];
    const int row = controls.AppendRow();
    controls.SetCellText(row, kRankColumn, std::to_string(i + 1));
    controls.SetCellText(row, kPathColumn, entry.path);
    const std::optional<platform::TimeValue> modified = platform::LastWriteTime(NativeFromText(entry.path));
    controls.SetCellText(row, kAgeColumn, FormatAge(modified, session.clock.Now()));
    controls.SetCellText(row, kSizeColumn, FormatSize(entry.size));
    if (session.rowWritten) session.rowWritten(row, entry, modified);
    UpdateProgress(controls, ClampProgressValue(count + i + 1));
  }
  return true;
}

void UpdateProgress(ListingControls& controls, std::int32_t position) {
  controls.SetProgressPosition(position);
  const std::int32_t stored = controls.ProgressPosition();
  const std::int32_t maximum = controls.ProgressMaximum();
  const int percent =
      maximum == 0 ? 0 : static_cast<int>(static_cast<double>(stored) / static_cast<double>(maximum) * 100.0);
  controls.SetPercentText(std::to_string(percent) + "%");
}

}  // namespace appdu
