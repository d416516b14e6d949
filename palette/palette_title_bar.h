#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

namespace vendigo {

// The palette's small title strip: shows the window's title, moves the window when dragged with
// the left button, and reports a right button press instead of opening any menu.
class PaletteTitleBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kHeight = 18;

  explicit PaletteTitleBar(QWidget *parent);

 signals:
  void RightPressed();

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void contextMenuEvent(QContextMenuEvent *event) override;

 private:
  // Where the window's corner lies from the pointer while the strip moves it itself, on desktops
  // whose window manager cannot move it.
  std::optional<QPoint> dragOffset_;
};

}  // namespace vendigo
