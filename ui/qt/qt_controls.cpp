#include "ui/qt/qt_controls.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <algorithm>

#include "ui/qt/display_text.h"

namespace appdu::qt {

namespace {
constexpr int kColumnCount = 4;
}  // namespace

QtListingControls::QtListingControls(ReportList& list, QProgressBar& progressBar, QLabel& percentLabel,
                                     StatusBar& statusBar)
    : list_(list), progressBar_(progressBar), percentLabel_(percentLabel), statusBar_(statusBar) {
  statusTexts_[1] = TextFromUtf8("提示");
  ShowProgress();
}

void QtListingControls::RemoveAllRows() { list_.clear(); }

int QtListingControls::AppendRow() {
  const int row = list_.topLevelItemCount();
  list_.addTopLevelItem(new QTreeWidgetItem());
  return row;
}

void QtListingControls::SetCellText(int row, int column, const Text& text) {
  if (column < 0 || column >= kColumnCount) return;
  QTreeWidgetItem* item = row < 0 ? nullptr : list_.topLevelItem(row);
  if (item == nullptr) return;
  item->setData(column, kTextRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  item->setText(column, DisplayString(text));
}

int QtListingControls::SelectedRow() const {
  int first = -1;
  for (const QModelIndex& index : list_.selectionModel()->selectedRows()) {
    if (first < 0 || index.row() < first) first = index.row();
  }
  return first;
}

Text QtListingControls::CellText(int row, int column) const {
  if (column < 0 || column >= kColumnCount) return {};
  const QTreeWidgetItem* item = row < 0 ? nullptr : list_.topLevelItem(row);
  if (item == nullptr) return {};
  const QByteArray bytes = item->data(column, kTextRole).toByteArray();
  return Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtListingControls::SetProgressMaximum(std::int32_t maximum) {
  progressMaximum_ = ClampProgressValue(maximum);
  ShowProgress();
}

void QtListingControls::SetProgressPosition(std::int32_t position) {
  progressPosition_ = ClampProgressValue(position);
  ShowProgress();
}

void QtListingControls::ShowProgress() {
  // The bar draws the stored position within 0..maximum. A range of 0..0
  // would make a QProgressBar show its "busy" animation, so an empty range
  // is drawn as an empty bar instead.
  const int maximum = std::max(progressMaximum_, 1);
  const int value = progressMaximum_ == 0 ? 0 : std::min(progressPosition_, progressMaximum_);
  if (progressBar_.maximum() != maximum || progressBar_.minimum() != 0) progressBar_.setRange(0, maximum);
  progressBar_.setValue(value);
}

void QtListingControls::SetPercentText(const Text& text) {
  const bool changed = text != percentText_;
  percentText_ = text;
  if (!changed) return;
  percentLabel_.setText(DisplayString(text));
  // Shown at once, bar included, even while a listing keeps the event loop
  // from running: the window's repaint is posted rather than done in place,
  // so it is delivered here, and nothing else is.
  if (percentLabel_.isVisible()) {
    percentLabel_.repaint();
    QCoreApplication::sendPostedEvents(percentLabel_.window(), QEvent::UpdateRequest);
  }
}

void QtListingControls::SetStatusText(int pane, const Text& text) {
  if (pane < 0 || pane >= StatusBar::kPaneCount) return;
  statusTexts_[static_cast<std::size_t>(pane)] = text;
  statusBar_.Pane(pane)->setText(DisplayString(text));
}

Text QtListingControls::StatusText(int pane) const {
  if (pane < 0 || pane >= StatusBar::kPaneCount) return {};
  return statusTexts_[static_cast<std::size_t>(pane)];
}

void QtWebView::SetUserAgent(const Text& userAgent) { profile_.setHttpUserAgent(DisplayString(userAgent)); }

void QtWebView::LoadUrl(const Text& url) {
  // A QUrl decodes escapes of unreserved characters ("%4C" becomes "L"), so
  // the view is sent to the address by a one-line page instead, which hands
  // it to the engine character for character.
  page_.setHtml(QStringLiteral("<!DOCTYPE html><meta http-equiv=\"refresh\" content=\"0;url=%1\">")
                    .arg(DisplayString(url).toHtmlEscaped()));
}

MessageBoxAnswer QtMessageBox::Show(const Text& text, const Text& title, MessageBoxButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, DisplayString(title.empty() ? Text(kDefaultMessageTitle) : title),
                  DisplayString(text), QMessageBox::NoButton, nullptr);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  QPushButton* cancel = nullptr;
  if (buttons == MessageBoxButtons::OkCancel) {
    cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
  } else {
    box.setEscapeButton(ok);
  }
  box.setDefaultButton(ok);
  box.exec();
  return box.clickedButton() == ok ? MessageBoxAnswer::Ok : MessageBoxAnswer::Cancel;
}

}  // namespace appdu::qt
