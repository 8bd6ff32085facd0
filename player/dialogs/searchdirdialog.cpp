#include "player/dialogs/searchdirdialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lyrova {

SearchDirDialog::SearchDirDialog(Prompts& prompts, const LyricsLookup& lookup,
                                 std::function<bool(const QUrl&)> openUrl, QWidget* parent)
    : QDialog(parent), logic_(prompts, lookup, std::move(openUrl)) {
  setWindowTitle(SearchDirLogic::kTitle);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  list1_ = new QListWidget;
  list1_->setObjectName(QStringLiteral("List1"));
  auto* explanation = new QLabel(QStringLiteral(
      "添加歌词目录，在打开歌曲时，如果在歌曲目录中找不到同名的歌词文件，就会在这些目录中搜索同名"
      "的歌词。"));
  explanation->setWordWrap(true);

  static const QStringList kCaptions = {QStringLiteral("浏览添加"), QStringLiteral("输入添加"),
                                        QStringLiteral("删除"),     QStringLiteral("打开"),
                                        QStringLiteral("确定"),     QStringLiteral("取消")};
  auto* buttons = new QGridLayout;
  for (int i = 0; i < kCaptions.size(); ++i) {
    auto* button = new QPushButton(kCaptions.at(i));
    button->setAutoDefault(false);
    buttons->addWidget(button, i / 3, i % 3);
    command1_.append(button);
    connect(button, &QPushButton::clicked, this, [this, i] { Follow(logic_.RunButton(i)); });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addWidget(list1_, 1);
  layout->addLayout(buttons);
  resize(460, 320);

  connect(list1_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_) logic_.Select(row);
  });
  connect(list1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    Follow(logic_.DoubleClick(list1_->row(item)));
  });
}

void SearchDirDialog::Open() {
  logic_.Open();
  Refresh();
}

void SearchDirDialog::Refresh() {
  refreshing_ = true;
  QStringList shown;
  for (int i = 0; i < list1_->count(); ++i) shown.append(list1_->item(i)->text());
  if (shown != logic_.Entries()) {
    list1_->clear();
    list1_->addItems(logic_.Entries());
  }
  list1_->setCurrentRow(logic_.Selected());
  refreshing_ = false;
}

void SearchDirDialog::Follow(DialogNext next) {
  if (next == DialogNext::Close) {
    // Only "确定" saves; the logic has done that already when it asks to close.
    done(QDialog::Accepted);
    return;
  }
  Refresh();
}

}  // namespace lyrova
