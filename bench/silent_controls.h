#pragma once

#include "analysis/listing_controls.h"

namespace appdu::bench {

// Controls that keep only the progress values, so a benchmark times the
// listing and nothing a display would add.
class SilentControls final : public ListingControls {
 public:
  void RemoveAllRows() override { rows_ = 0; }
  int AppendRow() override { return rows_++; }
  void SetCellText(int, int, const Text&) override {}
  int SelectedRow() const override { return -1; }
  Text CellText(int, int) const override { return {}; }
  void SetProgressMaximum(std::int32_t value) override { maximum_ = ClampProgressValue(value); }
  void SetProgressPosition(std::int32_t value) override { position_ = ClampProgressValue(value); }
  std::int32_t ProgressMaximum() const override { return maximum_; }
  std::int32_t ProgressPosition() const override { return position_; }
  void SetPercentText(const Text&) override {}
  void SetStatusText(int, const Text&) override {}

 private:
  int rows_ = 0;
  std::int32_t maximum_ = 0;
  std::int32_t position_ = 0;
};

}  // namespace appdu::bench
