#pragma once

#include <QTreeWidget>

namespace appdu::qt {

// The report list: four fixed columns, one whole row selected at a time,
// nothing editable or sortable. A click with either button first sets the
// selection the way a desktop report list does (the row under the pointer,
// or none below the last row), and only then is reported, on release.
class ReportList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ReportList(QWidget* parent = nullptr);

  // The row whose band holds viewport position y, whatever the column; -1
  // below the last row.
  int RowAtY(int y) const;

 signals:
  void leftClicked();
  void rightClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void SelectRowUnder(QMouseEvent* event);

  // The button whose press started the click being reported on release.
  Qt::MouseButton pressedButton_ = Qt::NoButton;
};

}  // namespace appdu::qt
