#pragma once

// Stand-ins for what a front end binds: controls that record what is written
// to them, a web view and a message box that record their calls, a clock.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "analysis/listing_controls.h"
#include "lookup/search_query.h"
#include "platform/clock.h"
#include "shell/message_box.h"

namespace appdu::testing {

class FakeControls : public ListingControls {
 public:
  using Row = std::array<Text, 4>;

  void RemoveAllRows() override {
    rows.clear();
    selectedRow = -1;
    ++rowsRemoved;
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

  // Replaces the list with one row per path (column 1), as a listing would.
  void ShowPaths(const std::vector<Text>& paths) {
    rows.clear();
    for (const Text& path : paths) rows.push_back({Text(), path, Text(), Text()});
  }

  // The paths of column 1, top to bottom.
  std::vector<Text> Paths() const {
    std::vector<Text> paths;
    for (const Row& row : rows) paths.push_back(row[1]);
    return paths;
  }

  std::vector<Row> rows;
  int selectedRow = -1;
  int rowsRemoved = 0;
  std::int32_t maximum = 100;
  std::int32_t position = 0;
  Text percent;
  std::vector<Text> percentHistory;
  std::array<Text, 3> panes;
};

class RecordingWebView : public WebView {
 public:
  void SetUserAgent(const Text& userAgent) override { userAgents.push_back(userAgent); }
  void LoadUrl(const Text& url) override { urls.push_back(url); }
  std::vector<Text> userAgents;
  std::vector<Text> urls;
};

// Answers 确定 at once; `onShow` runs while the box would be up.
class RecordingMessageBox : public MessageBox {
 public:
  MessageBoxAnswer Show(const Text& text, const Text& title, MessageBoxButtons buttons) override {
    texts.push_back(text);
    titles.push_back(title);
    okOnly = okOnly && buttons == MessageBoxButtons::Ok;
    if (onShow) onShow();
    return MessageBoxAnswer::Ok;
  }
  std::vector<Text> texts;
  std::vector<Text> titles;
  bool okOnly = true;
  std::function<void()> onShow;
};

// A clock that says whatever the test sets.
class FixedClock : public platform::Clock {
 public:
  explicit FixedClock(platform::TimeValue now = 0) : now(now) {}
  platform::TimeValue Now() const override { return now; }
  platform::TimeValue now;
};

}  // namespace appdu::testing
