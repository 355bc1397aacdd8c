#pragma once

// A ListingControls that records what a listing writes, for tests.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "analysis/listing_controls.h"
#include "platform/clock.h"

namespace appdu::testing {

class FakeControls : public ListingControls {
 public:
  using Row = std::array<Text, 4>;

  void RemoveAllRows() override {
    rows.clear();
    selectedRow = -1;
  }
  int AppendRow() override {
    rows.emplace_back();
    return static_cast<int>(rows.size()) - 1;
  }
  void SetCellText(int row, int column, const Text& text) override {
    if (row >= 0 && row < static_cast<int>(rows.size()) && column >= 0 && column < 4)
      rows[row][column] = text;
  }
  int SelectedRow() const override { return selectedRow; }
  Text CellText(int row, int column) const override {
    if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0 || column >= 4) return {};
    return rows[row][column];
  }
  void SetProgressMaximum(std::int32_t value) override { maximum = ClampProgressValue(value); }
  void SetProgressPosition(std::int32_t value) override { position = ClampProgressValue(value); }
  std::int32_t ProgressMaximum() const override { return maximum; }
  std::int32_t ProgressPosition() const override { return position; }
  void SetPercentText(const Text& text) override {
    percent = text;
    percentHistory.push_back(text);
  }
  void SetStatusText(int pane, const Text& text) override {
    if (pane >= 0 && pane < 3) panes[pane] = text;
  }

  // The paths of column 1, top to bottom.
  std::vector<Text> Paths() const {
    std::vector<Text> paths;
    for (const Row& row : rows) paths.push_back(row[1]);
    return paths;
  }

  std::vector<Row> rows;
  int selectedRow = -1;
  std::int32_t maximum = 100;
  std::int32_t position = 0;
  Text percent;
  std::vector<Text> percentHistory;
  std::array<Text, 3> panes;
};

// A clock that says whatever the test sets.
class FixedClock : public platform::Clock {
 public:
  explicit FixedClock(platform::TimeValue now = 0) : now(now) {}
  platform::TimeValue Now() const override { return now; }
  platform::TimeValue now;
};

}  // namespace appdu::testing
