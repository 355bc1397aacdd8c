#pragma once

#include <map>
#include <utility>
#include <vector>

#include "analysis/listing_controls.h"

namespace appdu::testing {

// In-memory controls: a list with cells, a selection the test sets, and the
// progress bar, percent label and status bar as plain values.
class RecordingControls : public ListingControls {
 public:
  void RemoveAllRows() override {
    rows.clear();
    ++rowsRemoved;
  }
  int AppendRow() override {
    rows.emplace_back();
    return static_cast<int>(rows.size()) - 1;
  }
  void SetCellText(int row, int column, const Text& text) override { rows.at(row)[column] = text; }
  int SelectedRow() const override { return selectedRow; }
  Text CellText(int row, int column) const override {
    if (row < 0 || row >= static_cast<int>(rows.size())) return {};
    auto cell = rows[row].find(column);
    return cell == rows[row].end() ? Text() : cell->second;
  }
  void SetProgressMaximum(std::int32_t value) override { maximum = ClampProgressValue(value); }
  void SetProgressPosition(std::int32_t value) override { position = ClampProgressValue(value); }
  std::int32_t ProgressMaximum() const override { return maximum; }
  std::int32_t ProgressPosition() const override { return position; }
  void SetPercentText(const Text& text) override { percentText = text; }
  void SetStatusText(int pane, const Text& text) override { statusTexts[pane] = text; }

  // Replaces the list with one row per path (column 1), as a listing would.
  void ShowPaths(const std::vector<Text>& paths) {
    rows.clear();
    for (const Text& path : paths) rows.push_back({{kPathColumn, path}});
  }
  // The column-1 texts of every row, top to bottom.
  std::vector<Text> PathColumn() const {
    std::vector<Text> paths;
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) paths.push_back(CellText(row, kPathColumn));
    return paths;
  }

  std::vector<std::map<int, Text>> rows;
  int selectedRow = -1;
  int rowsRemoved = 0;
  std::int32_t maximum = 0;
  std::int32_t position = 0;
  Text percentText;
  std::map<int, Text> statusTexts;
};

}  // namespace appdu::testing
