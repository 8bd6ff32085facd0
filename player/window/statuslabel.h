#pragma once

#include <QFont>
#include <QLabel>
#include <QString>

// A label of the Player's status area (`Label1`, `Label2`). The area is narrow at the window's
// minimum width, so the label keeps the whole text and shows what fits: a clock is drawn whole,
// in a smaller font when it must be; any other text keeps the label's font and ends in "…"
// where it is cut. The fit is redone whenever the label's width changes.
namespace lyrova {

class StatusLabel : public QLabel {
  Q_OBJECT

 public:
  enum class Fit { Whole, Elided };

  // The font the label has when it is made is its normal font.
  explicit StatusLabel(QWidget* parent);

  void SetStatus(const QString& text, Fit fit);
  // The text as given, before any eliding.
  QString FullText() const { return full_; }

  // No font is made smaller than this, however narrow the label.
  static constexpr double kSmallestPoints = 5.0;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Refit();

  QString full_;
  Fit fit_ = Fit::Elided;
  QFont normal_;
};

}  // namespace lyrova
