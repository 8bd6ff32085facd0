#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// One button of a program's tool bar: a picture centred on a coloured square with a frame. It
// only draws and reports the pointer and the left mouse button by its index; the window that
// owns it decides colours, frames, hints and commands.
namespace lyrova {

class ToolButton : public QWidget {
  Q_OBJECT

 public:
  // Outline: a thin grey square (the Player). None, Raised and Sunken: no frame, or the light
  // and dark edges of a raised or pressed button (the Editor); a sunken picture sits one pixel
  // lower and to the right.
  enum class Frame { Outline, None, Raised, Sunken };

  // A square button `side` pixels wide, outlined and white until told otherwise. It takes no
  // keyboard focus.
  ToolButton(int index, int side, QWidget* parent);

  int Index() const { return index_; }
  void SetIcon(const QPixmap& icon);
  QPixmap Icon() const { return icon_; }
  void SetBackground(const QColor& color);
  QColor Background() const { return background_; }
  void SetFrame(Frame frame);
  Frame FrameStyle() const { return frame_; }
  void SetLook(const QColor& background, Frame frame);
  QSize sizeHint() const override { return size(); }

 signals:
  void Entered(int index);
  void Left(int index);
  void Pressed(int index);
  // Released over the button (`inside`) or elsewhere after a press on it.
  void Released(int index, bool inside);

 protected:
  // A disabled button shows the style's greyed picture, so it looks unusable at a glance.
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PaintFrame(QPainter& painter) const;

  int index_;
  QPixmap icon_;
  QColor background_{Qt::white};
  Frame frame_ = Frame::Outline;
};

}  // namespace lyrova
