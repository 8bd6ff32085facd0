// The look of the Player's window: layout, idle text, centring, fonts, the chat strip and
// keep-on-top.
#include "common/ui/toolbutton.h"
#include "player/core/fontorder.h"
#include "player/window/bars.h"
#include "player/window/playerwindow.h"
#include "player/window/statuslabel.h"
#include "player/window/toolicons.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace lyrova {
namespace {

constexpr int kProgressHeight = 6;
constexpr int kBandGap = 3;

// A lyric label sizes itself to its text; its height is the font's line height even when empty.
void FitLabel(QLabel* label) {
  const QFontMetrics metrics(label->font());
  label->resize(metrics.horizontalAdvance(label->text()) + 2, metrics.height());
}

}  // namespace

void PlayerWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

void PlayerWindow::ResizeHeightBy(int pixels) {
  resize(width(), std::max(minimumHeight(), height() + pixels));
}

void PlayerWindow::LayOut() {
  if (layingOut_ || isMinimized() || isMaximized()) return;
  layingOut_ = true;
  const int minWidth = kMinWidthPixels;
  const int w = std::max(width(), minWidth);

  for (QLabel* label : lrc_) FitLabel(label);
  lrc_[0]->move(lrc_[0]->x(), 0);
  lrc_[1]->move(lrc_[1]->x(), lrc_[0]->height() + kBandGap);
  const int bandHeight = lrc_[0]->height() + lrc_[1]->height() + kBandGap;
  lrcOut_->setGeometry(0, 0, w, bandHeight);

  const int buttonSide = controlButt_[0]->height();
  const int panelHeight = buttonSide + kProgressHeight + 10;
  panel_->setGeometry(0, bandHeight, w, panelHeight);
  locPut_->setGeometry(0, 0, w, kProgressHeight);
  const int buttonTop = kProgressHeight + 5;
  for (int i = 0; i < kButtonCount; ++i)
    controlButt_[i]->move(5 + i * (controlButt_[0]->width() + 5), buttonTop);
  ToolButton* last = controlButt_.last();
  const int s = last->x() + last->width() + 5;
  shape1_->setGeometry(s, last->y(), std::max(0, w - 5 - s), last->height());
  vol_->setGeometry(s, last->y(), std::max(0, w - 5 - s), last->height());
  label1_->setGeometry(s + 5, last->y() + 2, std::max(0, w - 10 - s), last->height() - 2);
  label2_->setGeometry(label1_->geometry());
  ApplyVolume();

  // The window is never lower than the height at which the chat strip is 0 high.
  const int stripTop = bandHeight + panelHeight;
  setMinimumSize(minWidth, stripTop);
  if (width() < minWidth || height() < stripTop) resize(w, std::max(height(), stripTop));
  const int h = std::max(height(), stripTop);
  showWin_->setGeometry(0, 0, w, h);
  chatPanelHeight_ = std::max(0, h - stripTop);
  if (chatPanelHeight_ != 0) lastChatPanelHeight_ = chatPanelHeight_;
  text1_->setGeometry(0, stripTop, w, chatPanelHeight_);
  text1_->setVisible(chatPanelHeight_ > 0);

  session_.SetBarWidth(locPut_->width());
  layingOut_ = false;
}

// A line wider than the band gets the band's width: the current line scrolls in it, the next
// one ends in "…".
void PlayerWindow::CenterLyricLines() {
  for (QLabel* label : lrc_) {
    FitLabel(label);
    if (label->width() > lrcOut_->width()) label->resize(lrcOut_->width(), label->height());
    const double x = (lrcOut_->width() - label->width()) * 0.5;
    label->move(x > 0 ? int(std::lround(x)) : 0, label->y());
  }
}

void PlayerWindow::ToggleChatStrip() {
  ResizeHeightBy(chatPanelHeight_ != 0 ? -lastChatPanelHeight_ : lastChatPanelHeight_);
  LayOut();
}

void PlayerWindow::SetFontCaption() {
  lFont_->setTitle(QStringLiteral("歌词字体: ") + QFontInfo(lrc_[0]->font()).family());
  if (fontListBuilt_) return;
  fontListBuilt_ = true;
  const QStringList names = OrderFontNames(QFontDatabase::families());
  for (int i = 0; i < names.size(); ++i) {
    QAction* item = i < lfx_.size() ? lfx_[i] : nullptr;
    if (!item) {
      item = lFont_->addAction(QString());
      connect(item, &QAction::triggered, this, [this, item] { ChooseFont(item->text()); });
      lfx_.append(item);
    }
    item->setText(names[i]);
    item->setVisible(true);
  }
}

void PlayerWindow::ChooseFont(const QString& face) {
  const bool stripHidden = chatPanelHeight_ == 0;
  for (QLabel* label : lrc_) {
    QFont font = label->font();
    font.setFamily(face);
    label->setFont(font);
  }
  const QString reported = QFontInfo(lrc_[0]->font()).family();
  services_.settings->WriteSetting(playerkeys::kFontName, reported);
  lFont_->setTitle(QStringLiteral("歌词字体: ") + reported);
  const QString storedSize = services_.settings->ReadSetting(playerkeys::kFontSize, QStringLiteral("11"));
  if (const auto size = UsableFontSize(storedSize)) {
    ApplyLyricFontSize(*size);
    lSize_->setTitle(QStringLiteral("歌词字体尺寸: ") + storedSize);
  }
  LayOut();
  if (stripHidden) {
    ResizeHeightBy(-lastChatPanelHeight_);
    LayOut();
  }
}

void PlayerWindow::ApplyLyricFontSize(double points) {
  QFont font = lrc_[0]->font();
  font.setPointSizeF(points);
  lrc_[0]->setFont(font);
  QFont next = lrc_[1]->font();
  next.setPointSizeF(lrc_[0]->font().pointSizeF());
  lrc_[1]->setFont(next);
}

void PlayerWindow::ChooseFontSize(int size) {
  const bool stripHidden = chatPanelHeight_ == 0;
  ApplyLyricFontSize(size);
  lSize_->setTitle(QStringLiteral("歌词字体尺寸: ") + QString::number(size));
  services_.settings->WriteSetting(playerkeys::kFontSize, QString::number(lrc_[0]->font().pointSizeF()));
  LayOut();
  if (stripHidden) {
    ResizeHeightBy(-lastChatPanelHeight_);
    LayOut();
  }
}

void PlayerWindow::ApplyTopmost(bool on) {
  Button(PlayerButton::KeepOnTop)->SetIcon(ToolIcon(PlayerButton::KeepOnTop, on ? 1 : 0));
  topmost_ = on;
  if (bool(windowFlags() & Qt::WindowStaysOnTopHint) == on) return;
  const bool wasVisible = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  // Changing a window flag hides a shown window; it comes back at once, where it was.
  if (wasVisible) show();
}

}  // namespace lyrova
