#include "ui/report/console_controls.h"

#include <cstdio>

namespace appdu {

int ConsoleControls::AppendRow() {
  rows_.emplace_back();
  return static_cast<int>(rows_.size()) - 1;
}

void ConsoleControls::SetCellText(int row, int column, const Text& text) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= 4) return;
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

Text ConsoleControls::CellText(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= 4) return {};
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ConsoleControls::SetPercentText(const Text& text) {
  if (!showPercent_) return;
  // The percent text is plain ASCII digits and "%".
  std::fprintf(stderr, "\r%5s", text.c_str());
  std::fflush(stderr);
  percentShown_ = true;
}

void ConsoleControls::FinishPercent() {
  if (!percentShown_) return;
  std::fputs("\r     \r", stderr);
  std::fflush(stderr);
  percentShown_ = false;
}

}  // namespace appdu
