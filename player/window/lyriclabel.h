#pragma once

#include "player/core/linestrip.h"

#include <QColor>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QTextLayout>

#include <memory>

namespace lyrova {

// A lyric line of the strip. A line that fits and has no word timing is painted by QLabel as
// ever; a word-timed line paints its sung part in `sungColor` and the rest in the label's text
// colour; a line wider than the label scrolls (the current line) or ends in "…" (the next
// line). The label's own size stays what the window gives it.
class LyricLabel : public QLabel {
 public:
  enum class Overflow { Scroll, Elide };

  LyricLabel(Overflow overflow, QWidget* parent);

  void SetSungColor(const QColor& color) { sungColor_ = color; }
  // The line's progress; repaints only the strip between the old and the new sung point unless
  // the text moved.
  void SetProgress(const LineProgress& progress);
  const LineProgress& Progress() const { return progress_; }
  // The whole text's width in pixels, and how far it is moved left now.
  double TextWidth() const;
  double ScrollOffset() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  const QTextLayout& Layout() const;
  // Where the sung part ends, in text pixels from the text's start; -1 without word timing.
  double SungX() const;
  // The x of a character boundary of the laid-out text. QTextLine::cursorToX walks the line's
  // items on every call, far too slow for every frame of a sung word, so each boundary is
  // measured once per text and font.
  double CursorX(int position) const;

  Overflow overflow_;
  QColor sungColor_;
  LineProgress progress_;
  mutable std::unique_ptr<QTextLayout> layout_;  // built for `layoutText_` in the current font
  mutable QString layoutText_;
  mutable QHash<int, double> cursorX_;

  // The whole text drawn once in each colour on the strip's background; a frame of a sung word
  // copies a few columns of them instead of drawing every glyph of the line twice.
  struct Picture {
    QString text;
    QFont font;
    QColor normal, sung, background;
    int height = 0;
    qreal scale = 0;
    QPixmap normalPixmap, sungPixmap;
  };
  // The pictures for the text as it stands; false when the text is too wide for a picture.
  bool UpdatePicture(const QColor& normal, const QColor& background);
  Picture picture_;
};

}  // namespace lyrova
