#pragma once

#include "player/core/progressgeometry.h"

#include <QWidget>

// The progress bar (`LocPut`) and the volume bar (`Vol`). They paint the picture the window
// gives them and report mouse positions in their own pixels; all decisions stay in the window.
namespace lyrova {

class ProgressBar : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressBar(QWidget* parent);
  void SetPicture(const ProgressPicture& picture);
  ProgressPicture Picture() const { return picture_; }

 signals:
  void Pressed(int x);
  void Dragged(int x);
  void ReleasedAt(int x);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  ProgressPicture picture_;
};

class VolumeBar : public QWidget {
  Q_OBJECT

 public:
  explicit VolumeBar(QWidget* parent);
  void SetFillWidth(int width);
  int FillWidth() const { return fill_; }

 signals:
  // Any button pressed, or the left button held while moving: a new volume is chosen at x.
  void VolumeAt(int x);
  // The pointer moved with no button held, or a button was released; `inside` tells where.
  void PointerAt(bool inside);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int fill_ = 0;
};

}  // namespace lyrova
