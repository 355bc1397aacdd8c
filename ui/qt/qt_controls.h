#pragma once

#include <QLabel>
#include <QProgressBar>
#include <array>
#include <cstdint>

#include "analysis/listing_controls.h"
#include "lookup/search_query.h"
#include "shell/message_box.h"
#include "ui/qt/report_list.h"
#include "ui/qt/status_bar.h"

class QWebEnginePage;
class QWebEngineProfile;

namespace appdu::qt {

// The listing's controls bound to the window's widgets. Every cell keeps the
// exact code page 936 text written to it next to what it shows, and the
// progress values are kept here as stored (clamped), since a QProgressBar
// refuses values outside its range.
class QtListingControls final : public ListingControls {
 public:
  QtListingControls(ReportList& list, QProgressBar& progressBar, QLabel& percentLabel, StatusBar& statusBar);

  void RemoveAllRows() override;
  int AppendRow() override;
  void SetCellText(int row, int column, const Text& text) override;
  int SelectedRow() const override;
  Text CellText(int row, int column) const override;

  void SetProgressMaximum(std::int32_t maximum) override;
  void SetProgressPosition(std::int32_t position) override;
  std::int32_t ProgressMaximum() const override { return progressMaximum_; }
  std::int32_t ProgressPosition() const override { return progressPosition_; }

  void SetPercentText(const Text& text) override;
  void SetStatusText(int pane, const Text& text) override;

  // What was last written, exactly.
  const Text& PercentText() const { return percentText_; }
  Text StatusText(int pane) const;

  // The role under which a cell keeps its code page 936 text.
  static constexpr int kTextRole = Qt::UserRole + 1;

 private:
  void ShowProgress();

  ReportList& list_;
  QProgressBar& progressBar_;
  QLabel& percentLabel_;
  StatusBar& statusBar_;
  std::int32_t progressMaximum_ = 100;
  std::int32_t progressPosition_ = 0;
  Text percentText_;
  std::array<Text, StatusBar::kPaneCount> statusTexts_;
};

// The web view: the user agent goes to the view's own profile; a URL is
// loaded exactly as given.
class QtWebView final : public WebView {
 public:
  QtWebView(QWebEnginePage& page, QWebEngineProfile& profile) : page_(page), profile_(profile) {}

  void SetUserAgent(const Text& userAgent) override;
  void LoadUrl(const Text& url) override;

 private:
  QWebEnginePage& page_;
  QWebEngineProfile& profile_;
};

// A modal message box without an owner window, with the buttons 确定 and,
// when asked for, 取消; Esc and closing the box answer 取消.
class QtMessageBox final : public MessageBox {
 public:
  MessageBoxAnswer Show(const Text& text, const Text& title, MessageBoxButtons buttons) override;
};

}  // namespace appdu::qt
