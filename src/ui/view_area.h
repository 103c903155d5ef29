#pragma once
#include <QImage>
#include <QWidget>

// The drawing area of the main window above the bottom panel. It only shows
// the picture the program drew last; presses and releases on it (not on the
// controls lying over it) are handed to the window.
class TViewArea : public QWidget {
  Q_OBJECT
 public:
  explicit TViewArea(QWidget* parent = nullptr);
  QImage& image() { return image_; }
  // Makes the picture at least w x h, keeping what is drawn.
  void ensureImageSize(int w, int h);

 signals:
  void pressed(Qt::MouseButton button, int x, int y);
  void released(Qt::MouseButton button, int x, int y);
  // The pointer moved while a button is held.
  void dragged(int x, int y);
  // The wheel turned; 120 is one notch away from the user.
  void wheeled(int angleDelta);
  // The left button went down and up again without moving, after released.
  void clicked(int x, int y, Qt::KeyboardModifiers modifiers);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QImage image_;
  QPoint leftDownAt_{-1, -1};
};
