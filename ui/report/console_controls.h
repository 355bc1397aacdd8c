#pragma once

#include <array>
#include <vector>

#include "analysis/listing_controls.h"

namespace appdu {

// The listing's controls for a terminal: rows are kept for printing at the
// end, and the percent text is redrawn in place on standard error when that
// is a terminal.
class ConsoleControls final : public ListingControls {
 public:
  explicit ConsoleControls(bool showPercent) : showPercent_(showPercent) {}

  void RemoveAllRows() override { rows_.clear(); }
  int AppendRow() override;
  void SetCellText(int row, int column, const Text& text) override;
  int SelectedRow() const override { return -1; }
  Text CellText(int row, int column) const override;

  void SetProgressMaximum(std::int32_t maximum) override { maximum_ = ClampProgressValue(maximum); }
  void SetProgressPosition(std::int32_t position) override { position_ = ClampProgressValue(position); }
  std::int32_t ProgressMaximum() const override { return maximum_; }
  std::int32_t ProgressPosition() const override { return position_; }

  void SetPercentText(const Text& text) override;
  void SetStatusText(int, const Text&) override {}

  // Clears the percent line, if one was drawn.
  void FinishPercent();

  using Row = std::array<Text, 4>;
  const std::vector<Row>& rows() const { return rows_; }

 private:
  bool showPercent_;
  bool percentShown_ = false;
  std::vector<Row> rows_;
  std::int32_t maximum_ = 100;
  std::int32_t position_ = 0;
};

}  // namespace appdu
