#include "ui/qt/report_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPalette>

namespace appdu::qt {

ReportList::ReportList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(4);
  setHeaderLabels(
      {QStringLiteral("索引"), QStringLiteral("路径"), QStringLiteral("修改时间"), QStringLiteral("大小")});
  const int widths[] = {40, 285, 225, 75};
  header()->setStretchLastSection(false);
  header()->setSectionsClickable(true);
  header()->setSectionsMovable(false);
  header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  for (int column = 0; column < 4; ++column) header()->resizeSection(column, widths[column]);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSortingEnabled(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAllColumnsShowFocus(true);
  setDragEnabled(false);
  setMouseTracking(false);
  setAttribute(Qt::WA_Hover, false);
  setFrameShape(QFrame::Box);
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  // Black on white, and the selection looks the same whether or not the list
  // has the focus.
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
  }
  setPalette(colours);
}

int ReportList::RowAtY(int y) const {
  // The left edge of the viewport lies on some column unless the columns are
  // scrolled out of sight entirely.
  if (header()->length() - header()->offset() <= 0) return -1;
  const QModelIndex index = indexAt(QPoint(0, y));
  return index.isValid() ? index.row() : -1;
}

void ReportList::SelectRowUnder(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const int row = RowAtY(event->position().toPoint().y());
  if (row < 0) {
    clearSelection();
    return;
  }
  const QModelIndex index = model()->index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ReportList::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
    event->accept();
    return;
  }
  SelectRowUnder(event);
  pressedButton_ = event->button();
  event->accept();
}

void ReportList::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != pressedButton_) return;
  pressedButton_ = Qt::NoButton;
  if (event->button() == Qt::LeftButton) emit leftClicked();
  if (event->button() == Qt::RightButton) emit rightClicked();
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click selects like any press but is not a
  // click of its own: a double click starts nothing.
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) SelectRowUnder(event);
  pressedButton_ = Qt::NoButton;
  event->accept();
}

void ReportList::mouseMoveEvent(QMouseEvent* event) {
  // Dragging with a button down neither moves the selection nor starts a drag.
  event->accept();
}

}  // namespace appdu::qt
