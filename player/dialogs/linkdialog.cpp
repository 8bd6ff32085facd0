#include "player/dialogs/linkdialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lyrova {

LinkDialog::LinkDialog(Prompts& prompts, const LyricsLookup& lookup, LinkDialogActions actions,
                       QWidget* parent)
    : QDialog(parent), logic_(prompts, lookup, std::move(actions), this) {
  setWindowTitle(LinkDialogLogic::kTitle);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("歌曲名:")), 0, 0);
  text1_ = new QLineEdit;
  text1_->setObjectName(QStringLiteral("Text1"));
  fields->addWidget(text1_, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("歌词名:")), 1, 0);
  text2_ = new QLineEdit;
  text2_->setObjectName(QStringLiteral("Text2"));
  fields->addWidget(text2_, 1, 1);

  list1_ = new QListWidget;
  list1_->setObjectName(QStringLiteral("List1"));

  static const QStringList kFileCaptions = {
      QStringLiteral("歌词目录"), QStringLiteral("浏览"),   QStringLiteral("删除文件"),
      QStringLiteral("重命名"),   QStringLiteral("Versel"), QStringLiteral("记事本编辑")};
  static const QStringList kLinkCaptions = {QStringLiteral("删除关联"), QStringLiteral("关联"),
                                            QStringLiteral("取消")};
  auto* fileColumn = new QVBoxLayout;
  for (int i = 0; i < kFileCaptions.size(); ++i) {
    auto* button = new QPushButton(kFileCaptions.at(i));
    button->setAutoDefault(false);
    fileColumn->addWidget(button);
    command1_.append(button);
    connect(button, &QPushButton::clicked, this, [this, i] { Follow(logic_.RunFileButton(i)); });
  }
  fileColumn->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(list1_, 1);
  middle->addLayout(fileColumn);

  auto* linkRow = new QHBoxLayout;
  linkRow->addStretch();
  for (int i = 0; i < kLinkCaptions.size(); ++i) {
    auto* button = new QPushButton(kLinkCaptions.at(i));
    button->setAutoDefault(false);
    linkRow->addWidget(button);
    command2_.append(button);
    connect(button, &QPushButton::clicked, this, [this, i] { Follow(logic_.RunLinkButton(i)); });
  }

  auto* explanation = new QLabel(QStringLiteral(
      "在歌曲目录和歌词目录中搜索与歌名近似的歌词文件并将他们关联到一起，以后播放歌曲时，就会自动"
      "打开歌曲所关联的歌词，它的优先级是最高的。"));
  explanation->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(middle, 1);
  layout->addWidget(explanation);
  layout->addLayout(linkRow);
  resize(520, 360);

  connect(text1_, &QLineEdit::textEdited, this, [this](const QString& text) { logic_.SetSongText(text); });
  connect(text2_, &QLineEdit::textEdited, this, [this](const QString& text) { logic_.SetLyricsText(text); });
  connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (refreshing_) return;
    logic_.Select(row);
    Refresh();
  });
  connect(list1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    Follow(logic_.DoubleClick(list1_->row(item)));
  });
}

void LinkDialog::Open(const QString& song, const QString& lyrics) {
  logic_.Open(song, lyrics);
  Refresh();
}

void LinkDialog::Refresh() {
  refreshing_ = true;
  if (text1_->text() != logic_.SongText()) text1_->setText(logic_.SongText());
  if (text2_->text() != logic_.LyricsText()) text2_->setText(logic_.LyricsText());
  const QStringList items = logic_.ListItems();
  QStringList shown;
  for (int i = 0; i < list1_->count(); ++i) shown.append(list1_->item(i)->text());
  if (shown != items) {
    list1_->clear();
    list1_->addItems(items);
  }
  list1_->setCurrentRow(logic_.Selected());
  refreshing_ = false;
}

void LinkDialog::Follow(DialogNext next) {
  if (next == DialogNext::Close) {
    accept();
    return;
  }
  Refresh();
}

}  // namespace lyrova
