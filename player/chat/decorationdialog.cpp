#include "player/chat/decorationdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace lyrova {
namespace {

// The add buttons' picture: a small yellow face.
QIcon SmileyIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(150, 90, 0), 1));
  p.setBrush(QColor(250, 200, 40));
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  p.setBrush(QColor(60, 40, 0));
  p.drawEllipse(QPointF(5.5, 6), 1, 1.3);
  p.drawEllipse(QPointF(10.5, 6), 1, 1.3);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4, 6, 8, 6), 200 * 16, 140 * 16);
  return QIcon(pixmap);
}

}  // namespace

DecorationDialog::DecorationDialog(QWidget* owner, const QList<Emoticon>& emoticons,
                                   int lastEmoticonIndex, const QString& home,
                                   const QString& end)
    : QDialog(owner), emoticons_(emoticons), lastEmoticonIndex_(lastEmoticonIndex) {
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowTitle(QStringLiteral("指定歌词修饰字符"));
  setModal(true);
  // The widgets are made in tab order; the layout places them afterwards.
  AddTextBoxes();
  AddEmoticonControls();
  AddButtons();
  LayOut();
  // Set last, so each caret stands at the end of its text.
  text1_[0]->setText(home);
  text1_[1]->setText(end);
}

void DecorationDialog::AddTextBoxes() {
  const QStringList tips = {QStringLiteral("歌词前修饰字符"), QStringLiteral("歌词后修饰字符")};
  const QStringList captions = {QStringLiteral("歌词前"), QStringLiteral("歌词后")};
  for (int i = 0; i < 2; ++i) {
    auto* box = new QLineEdit(this);
    box->setToolTip(tips[i]);
    connect(box, &QLineEdit::returnPressed, this, &DecorationDialog::Confirm);
    text1_.append(box);
    label2_.append(new QLabel(captions[i], this));
  }
}

void DecorationDialog::AddEmoticonControls() {
  const QIcon smiley = SmileyIcon();
  for (int i = 0; i < 3; ++i) {
    auto* add = new QToolButton(this);
    add->setIcon(smiley);
    add->setToolTip(QStringLiteral("添加表情"));
    add->setAutoRaise(true);
    connect(add, &QToolButton::clicked, this, [this, i] { AddEmoticon(i); });
    command3_.append(add);
  }
  combo1_ = new QComboBox(this);
  combo1_->setToolTip(QStringLiteral("表情选择"));
  for (const Emoticon& entry : emoticons_) combo1_->addItem(entry.name);
  if (lastEmoticonIndex_ >= 0 && lastEmoticonIndex_ < combo1_->count())
    combo1_->setCurrentIndex(lastEmoticonIndex_);
  else if (combo1_->count() > 0)
    combo1_->setCurrentIndex(0);
  connect(combo1_, &QComboBox::activated, this,
          [this](int index) { lastEmoticonIndex_ = index; });
}

// The buttons and the explanation under the boxes.
void DecorationDialog::AddButtons() {
  command4_ = new QPushButton(QStringLiteral("编辑预制表情代码"), this);
  command1_ = new QPushButton(QStringLiteral("确定"), this);
  command2_ = new QPushButton(QStringLiteral("取消"), this);
  for (QPushButton* button : {command4_, command1_, command2_}) button->setAutoDefault(false);
  connect(command1_, &QPushButton::clicked, this, &DecorationDialog::Confirm);
  connect(command2_, &QPushButton::clicked, this, &DecorationDialog::reject);
  connect(command4_, &QPushButton::clicked, this, [this] {
    if (editPresets) editPresets();
    reject();
  });
  label1_ = new QLabel(
      QStringLiteral("设置添加到歌词前面和后面的字符串，在发送歌词时，它将与歌词同时发送到聊天室，"
                     "如果它是Chatora的一个表情代码将会显示为对应的表情。"),
      this);
  label1_->setWordWrap(true);
}

void DecorationDialog::LayOut() {
  auto* grid = new QGridLayout(this);
  grid->addWidget(label2_[0], 0, 0);
  grid->addWidget(text1_[0], 0, 1);
  grid->addWidget(command3_[0], 0, 2);
  grid->addWidget(label2_[1], 1, 0);
  grid->addWidget(text1_[1], 1, 1);
  grid->addWidget(command3_[1], 1, 2);
  grid->addWidget(combo1_, 2, 1);
  grid->addWidget(command3_[2], 2, 2);
  grid->addWidget(label1_, 3, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(command4_);
  buttons->addStretch();
  buttons->addWidget(command1_);
  buttons->addWidget(command2_);
  grid->addLayout(buttons, 4, 0, 1, 3);
  resize(380, sizeHint().height());
}

void DecorationDialog::AddEmoticon(int item) {
  const int selected = combo1_->currentIndex();
  if (selected < 0 || selected >= emoticons_.size() || item < 0 || item > 2) return;
  const QString& code = emoticons_[selected].code;
  const int m = item + 1;
  for (int bit = 0; bit < 2; ++bit) {
    if ((m & (1 << bit)) == 0) continue;
    QLineEdit* box = text1_[bit];
    const int start = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
    const int length = box->hasSelectedText() ? int(box->selectedText().size()) : 0;
    const CaretEdit edit = InsertAtCaret(box->text(), start, length, code);
    box->setText(edit.text);
    box->setCursorPosition(edit.caret);
  }
}

void DecorationDialog::Confirm() {
  resultHome_ = text1_[0]->text();
  resultEnd_ = text1_[1]->text();
  confirmed_ = true;
  cancelled_ = false;
  accept();
}

void DecorationDialog::done(int result) {
  if (!confirmed_) {
    cancelled_ = true;
    resultHome_.clear();
    resultEnd_.clear();
  }
  QDialog::done(result);
}

void DecorationDialog::setVisible(bool visible) {
  QDialog::setVisible(visible);
  if (!visible) return;
  for (QLineEdit* box : text1_) {
    box->deselect();
    box->setCursorPosition(int(box->text().size()));
  }
}

void DecorationDialog::focusInEvent(QFocusEvent* event) {
  QDialog::focusInEvent(event);
  text1_[0]->setFocus();
}

void DecorationDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  text1_[0]->setFocus();
}

}  // namespace lyrova
