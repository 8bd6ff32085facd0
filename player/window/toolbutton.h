#pragma once

#include "player/window/playerbutton.h"

#include <QColor>
#include <QPixmap>
#include <QWidget>

// One button of the Player's toolbar (`ControlButt` item): an icon on a coloured square. It only
// reports the pointer and the mouse buttons; the window decides colours, hints and commands.
namespace lyrova {

class ToolButton : public QWidget {
  Q_OBJECT

 public:
  ToolButton(int index, QWidget* parent);

  int Index() const { return index_; }
  void SetIcon(const QPixmap& icon);
  QPixmap Icon() const { return icon_; }
  void SetBackground(const QColor& color);
  QColor Background() const { return background_; }
  QSize sizeHint() const override { return {kSide, kSide}; }

  static constexpr int kSide = 18;

 signals:
  void Entered(int index);
  void Left(int index);
  void Pressed(int index);
  // Released over the button (`inside`) or elsewhere after a press on it.
  void Released(int index, bool inside);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int index_;
  QPixmap icon_;
  QColor background_;
};

// The toolbar icons, drawn by the program itself: `variant` 1 is the "on" picture of the
// keep-on-top and sending buttons.
QPixmap ToolIcon(PlayerButton button, int variant = 0);

}  // namespace lyrova
