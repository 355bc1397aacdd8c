#pragma once

#include <QLabel>
#include <QWidget>
#include <array>

namespace appdu::qt {

// The three-pane status bar docked along the window's bottom edge: 4 pixels
// empty, 30 pixels "提示", and the rest, sunken, for the listed folder.
class StatusBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kPaneCount = 3;

  explicit StatusBar(QWidget* parent = nullptr);

  QLabel* Pane(int index) const { return panes_[static_cast<std::size_t>(index)]; }
  // The bar's height for the font in use, at least 20 pixels.
  int PreferredHeight() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::array<QLabel*, kPaneCount> panes_{};
};

}  // namespace appdu::qt
