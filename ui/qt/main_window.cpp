#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "lookup/search_query.h"
#include "navigation/navigation.h"
#include "ui/qt/event_pump.h"

namespace appdu::qt {

namespace {

struct Place {
  int left, top, width, height;
};
constexpr Place kListPlace{8, 8, 632, 384};
constexpr Place kProgressPlace{648, 368, 72, 24};
constexpr Place kWebViewPlace{728, 8, 360, 384};
constexpr int kButtonLeft = 648, kButtonTop = 8, kButtonStep = 32, kButtonWidth = 72, kButtonHeight = 24;

void PutAt(QWidget* widget, const Place& place) {
  widget->setGeometry(place.left, place.top, place.width, place.height);
}

}  // namespace

MainWindow::MainWindow(MessageBox* messageBox, WebView* webView)
    : list_(new ReportList(this)),
      progressBar_(new QProgressBar(this)),
      percentLabel_(new QLabel(this)),
      webProfile_(new QWebEngineProfile()),
      webEngineView_(new QWebEngineView(this)),
      statusBar_(new StatusBar(this)),
      controls_(*list_, *progressBar_, *percentLabel_, *statusBar_),
      session_(controls_, clock_),
      messageBox_(messageBox != nullptr ? *messageBox : ownMessageBox_) {
  setWindowTitle(QStringLiteral("应用数据文件夹大小"));
  move(kLeft, kTop);
  resize(kOuterWidth, kOuterHeight);

  PutAt(list_, kListPlace);

  const char* captions[] = {"上级", "下级", "搜索", "删除"};
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    QPushButton* button = new QPushButton(QString::fromUtf8(captions[i]), this);
    button->setAutoDefault(false);
    button->setGeometry(kButtonLeft, kButtonTop + kButtonStep * static_cast<int>(i), kButtonWidth,
                        kButtonHeight);
    buttons_[i] = button;
  }

  progressBar_->setOrientation(Qt::Horizontal);
  progressBar_->setTextVisible(false);
  PutAt(progressBar_, kProgressPlace);

  // The percent text lies over the bar with no background of its own.
  PutAt(percentLabel_, kProgressPlace);
  percentLabel_->setAlignment(Qt::AlignCenter);
  percentLabel_->setTextFormat(Qt::PlainText);
  percentLabel_->setAutoFillBackground(false);
  percentLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
  QPalette labelColours = percentLabel_->palette();
  labelColours.setColor(QPalette::WindowText, Qt::black);
  percentLabel_->setPalette(labelColours);
  percentLabel_->raise();

  // An off-the-record profile: no cookies, cache or history reach the disk.
  auto* page = new QWebEnginePage(webProfile_, webEngineView_);
  webEngineView_->setPage(page);
  PutAt(webEngineView_, kWebViewPlace);
  ownWebView_ = std::make_unique<QtWebView>(*page, *webProfile_);
  webView_ = webView != nullptr ? webView : ownWebView_.get();

  statusBar_->setGeometry(0, height() - statusBar_->PreferredHeight(), width(),
                          statusBar_->PreferredHeight());

  connect(buttons_[0], &QPushButton::clicked, this, &MainWindow::ListParent);
  connect(buttons_[1], &QPushButton::clicked, this, &MainWindow::ListSelected);
  connect(buttons_[2], &QPushButton::clicked, this, &MainWindow::Search);
  connect(buttons_[3], &QPushButton::clicked, this, &MainWindow::RevealWithNotice);
  connect(list_, &ReportList::leftClicked, this, &MainWindow::Search);
  connect(list_, &ReportList::rightClicked, this, &MainWindow::RevealWithoutNotice);

  InstallEventPump();
}

MainWindow::~MainWindow() {
  session_.stopRequested = true;
  RemoveEventPump();
  // The page must go before the profile it was made with.
  delete webEngineView_;
  delete webProfile_;
}

QWebEnginePage* MainWindow::WebPage() const { return webEngineView_->page(); }

void MainWindow::Start() {
  // An empty page gives the web view its drawing surface now. Added after
  // the window is created, that surface would make Qt destroy and recreate
  // the shown window, which flickers and hands out a window that is gone.
  webEngineView_->page()->setHtml(QString());
  show();
  // Mapped and painted before the first row is measured.
  QCoreApplication::processEvents();
  if (closed_) return;
  webView_->SetUserAgent(kUserAgent);
  ListFolder(session_, HomeFolder());
}

void MainWindow::ListParent() {
  if (!closed_) ListParentFolder(session_);
}

void MainWindow::ListSelected() {
  if (!closed_) ListSelectedFolder(session_);
}

void MainWindow::Search() {
  if (!closed_) SearchOnWeb(controls_, *webView_);
}

void MainWindow::RevealWithNotice() {
  if (!closed_) RevealForDeletion(controls_, messageBox_, revealState_);
}

void MainWindow::RevealWithoutNotice() {
  if (!closed_) RevealSelectedFolder(controls_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A listing running below this event stops at its next pump and writes
  // nothing more.
  closed_ = true;
  session_.stopRequested = true;
  event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int barHeight = statusBar_->PreferredHeight();
  statusBar_->setGeometry(0, height() - barHeight, width(), barHeight);
  KeepOuterSize();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  KeepOuterSize();
}

void MainWindow::KeepOuterSize() {
  if (outerSizeKept_ || !isVisible()) return;
  const QSize frame = frameGeometry().size() - size();
  if (frame.width() <= 0 && frame.height() <= 0) return;
  outerSizeKept_ = true;
  resize(kOuterWidth - frame.width(), kOuterHeight - frame.height());
}

}  // namespace appdu::qt
