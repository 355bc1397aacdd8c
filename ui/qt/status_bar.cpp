#include "ui/qt/status_bar.h"

#include <QFontMetrics>
#include <algorithm>

namespace appdu::qt {

namespace {
constexpr int kFirstPaneWidth = 4;
constexpr int kSecondPaneWidth = 30;
}  // namespace

StatusBar::StatusBar(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  for (auto& pane : panes_) {
    pane = new QLabel(this);
    pane->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    pane->setTextFormat(Qt::PlainText);
    pane->setMargin(0);
  }
  panes_[1]->setText(QStringLiteral("提示"));
  panes_[2]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panes_[2]->setLineWidth(1);
  panes_[2]->setIndent(2);
}

int StatusBar::PreferredHeight() const { return std::max(20, fontMetrics().height() + 4); }

void StatusBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int h = height();
  panes_[0]->setGeometry(0, 0, kFirstPaneWidth, h);
  panes_[1]->setGeometry(kFirstPaneWidth, 0, kSecondPaneWidth, h);
  const int restLeft = kFirstPaneWidth + kSecondPaneWidth;
  panes_[2]->setGeometry(restLeft, 1, std::max(0, width() - restLeft - 1), h - 2);
}

}  // namespace appdu::qt
