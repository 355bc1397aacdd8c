#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <memory>

#include "analysis/listing.h"
#include "platform/clock.h"
#include "shell/message_box.h"
#include "shell/reveal.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/report_list.h"
#include "ui/qt/status_bar.h"

class QWebEngineProfile;
class QWebEngineView;
class QWebEnginePage;

namespace appdu::qt {

// The program's one window: the report list, the four buttons, the progress
// bar with its percent label, the web view and the status bar, each at a
// fixed place. Every handler is one call into the core.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // The window's outer size and its place on the screen when created.
  static constexpr int kOuterWidth = 1100;
  static constexpr int kOuterHeight = 447;
  static constexpr int kLeft = 50;
  static constexpr int kTop = 50;

  // Creates the window and its controls, hidden. `messageBox` answers the
  // deletion notice and `webView` takes the searches; when null, the window's
  // own modal box and embedded web view do.
  explicit MainWindow(MessageBox* messageBox = nullptr, WebView* webView = nullptr);
  ~MainWindow() override;

  // After the disclaimer was accepted: shows the window, gives the web view
  // its user agent and lists the home folder. Returns when that listing ends
  // (or the window was closed meanwhile).
  void Start();

  // True once the window has been closed; no listing writes to it any more.
  bool Closed() const { return closed_; }

  ListingSession& Session() { return session_; }
  QtListingControls& Controls() { return controls_; }
  ReportList* List() const { return list_; }
  // 0 上级, 1 下级, 2 搜索, 3 删除.
  QPushButton* Button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
  QProgressBar* ProgressBar() const { return progressBar_; }
  QLabel* PercentLabel() const { return percentLabel_; }
  StatusBar* Status() const { return statusBar_; }
  QWebEngineView* WebEngineView() const { return webEngineView_; }
  QWebEnginePage* WebPage() const;
  QWebEngineProfile* WebProfile() const { return webProfile_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  void ListParent();
  void ListSelected();
  void Search();
  void RevealWithNotice();
  void RevealWithoutNotice();
  // A window manager's frame only becomes known once the window is shown;
  // the client area then shrinks so that the outer size stays as given.
  void KeepOuterSize();

  ReportList* list_;
  std::array<QPushButton*, 4> buttons_{};
  QProgressBar* progressBar_;
  QLabel* percentLabel_;
  QWebEngineProfile* webProfile_;
  QWebEngineView* webEngineView_;
  StatusBar* statusBar_;

  QtListingControls controls_;
  platform::SystemClock clock_;
  ListingSession session_;
  std::unique_ptr<QtWebView> ownWebView_;
  WebView* webView_ = nullptr;
  QtMessageBox ownMessageBox_;
  MessageBox& messageBox_;
  RevealState revealState_;
  bool closed_ = false;
  bool outerSizeKept_ = false;
};

}  // namespace appdu::qt
