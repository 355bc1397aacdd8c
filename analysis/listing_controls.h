#pragma once

#include <cstdint>

#include "encoding/text.h"

namespace appdu {

// The controls a listing writes and the list reads that navigation, lookup and
// reveal make. Each front end binds them to its real controls.
class ListingControls {
 public:
  virtual ~ListingControls() = default;

  // The report list: column 0 rank, 1 full path, 2 age, 3 size.
  virtual void RemoveAllRows() = 0;
  // Appends an empty row at the end and returns its index, counted from 0.
  virtual int AppendRow() = 0;
  virtual void SetCellText(int row, int column, const Text& text) = 0;
  // The selected row, or -1 when none is selected.
  virtual int SelectedRow() const = 0;
  // The whole text of a cell; the empty text for a row that does not exist.
  virtual Text CellText(int row, int column) const = 0;

  // The progress bar. Maximum and position are stored clamped to 0..32767 and
  // read back as stored.
  virtual void SetProgressMaximum(std::int32_t maximum) = 0;
  virtual void SetProgressPosition(std::int32_t position) = 0;
  virtual std::int32_t ProgressMaximum() const = 0;
  virtual std::int32_t ProgressPosition() const = 0;

  // The percent label on top of the progress bar.
  virtual void SetPercentText(const Text& text) = 0;

  // The status bar; panes are counted from 0.
  virtual void SetStatusText(int pane, const Text& text) = 0;
};

// Column and pane numbers of the report list and the status bar.
inline constexpr int kRankColumn = 0;
inline constexpr int kPathColumn = 1;
inline constexpr int kAgeColumn = 2;
inline constexpr int kSizeColumn = 3;
inline constexpr int kFolderPane = 2;

// The range a progress value is stored in.
inline constexpr std::int32_t kProgressLimit = 32767;
inline std::int32_t ClampProgressValue(std::int64_t value) {
  return value < 0 ? 0 : value > kProgressLimit ? kProgressLimit : static_cast<std::int32_t>(value);
}

}  // namespace appdu
