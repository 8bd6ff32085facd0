#include "editor/window/editorwindow.h"

#include "common/displaytext.h"
#include "common/ui/toolbutton.h"
#include "editor/core/commandtable.h"
#include "editor/window/editorwidgets.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QStackedWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace lyrova {

namespace {

const QColor kToolBarColor(236, 236, 236);
const QString kTextBoxTip = QStringLiteral("歌词输入，回车转到下一行歌词。");
const QString kLongLineTip = QStringLiteral("此行歌词过长，这里只显示开头部分，不能修改，可在文本模式中编辑；回车转到下一行歌词。");

QString InfoCaption(int index) {
  switch (index) {
    case 0: return QStringLiteral("标题");
    case 1: return QStringLiteral("演唱");
    case 2: return QStringLiteral("专辑");
    default: return QStringLiteral("编辑者");
  }
}

}  // namespace

EditorWindow::EditorWindow(const EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services), session_(services) {
  session_.SetView(this);
  setMinimumSize(kMinWidthPixels, kMinHeightPixels);
  resize(620, 560);
  setAcceptDrops(true);
  setWindowIcon(EditorToolIcon(kCmdStamp, 32));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  auto* bar = new QWidget(this);
  bar->setAutoFillBackground(true);
  QPalette barPalette = bar->palette();
  barPalette.setColor(QPalette::Window, kToolBarColor);
  bar->setPalette(barPalette);
  BuildToolBar(bar);
  layout->addWidget(bar);

  stack_ = new QStackedWidget(this);
  stack_->addWidget(BuildTagEditor());
  stack_->addWidget(BuildTextPanel());
  layout->addWidget(stack_, 1);

  auto* progress = new QHBoxLayout;
  locPut_ = new EditorProgressBar(this);
  locPut_->setToolTip(QStringLiteral("播放进度"));
  outTime_ = new QLabel(this);
  outTime_->setMinimumWidth(outTime_->fontMetrics().horizontalAdvance(QStringLiteral("-00:00.00")) + 8);
  progress->addWidget(locPut_, 1);
  progress->addWidget(outTime_);
  layout->addLayout(progress);

  connect(locPut_, &EditorProgressBar::SeekPressed, &session_, &EditorSession::SeekPress);
  connect(locPut_, &EditorProgressBar::SeekMoved, &session_, &EditorSession::SeekMove);
  connect(locPut_, &EditorProgressBar::SeekReleased, &session_, &EditorSession::SeekRelease);

  timer3_.setInterval(1000);
  connect(&timer3_, &QTimer::timeout, this, [this] {
    if (hovered_ < 0) {
      tsLab_->hide();
      picture3_->show();
    }
    timer3_.stop();
  });
  BuildActions();
}

EditorWindow::~EditorWindow() {
  session_.SetView(nullptr);
  session_.Shutdown();
}

void EditorWindow::BuildToolBar(QWidget* bar) {
  auto* grid = new QGridLayout(bar);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(0);
  for (int i = 0; i < kEditorCommandCount; ++i) {
    auto* button = new ToolButton(i, kEditorButtonSide, bar);
    button->SetIcon(EditorToolIcon(i, kEditorButtonSide - 4));
    button->setToolTip(ButtonTooltip(i));
    button->SetLook(kToolBarColor, ToolButton::Frame::None);
    connect(button, &ToolButton::Entered, this, &EditorWindow::ButtonEntered);
    connect(button, &ToolButton::Left, this, &EditorWindow::ButtonLeft);
    connect(button, &ToolButton::Pressed, this, [this](int index) {
      pressed_ = index;
      butt_[index]->SetLook(FromBgr(0xFF8080), ToolButton::Frame::Sunken);
    });
    connect(button, &ToolButton::Released, this, [this](int index, bool inside) {
      pressed_ = -1;
      butt_[index]->SetLook(inside ? FromBgr(0xFFC0C0) : kToolBarColor,
                            inside ? ToolButton::Frame::Raised : ToolButton::Frame::None);
      if (inside) actions_[index]->trigger();
    });
    butt_.append(button);
  }
  // Two rows of two groups each, so that the bar fits the window's minimum width.
  for (int g = 0; g < kCommandGroupCount; ++g) {
    const CommandGroup group = CommandGroupAt(g);
    auto* caption = new QLabel(group.caption, bar);
    QFont font = caption->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    caption->setFont(font);
    buttType_.append(caption);
    auto* box = new QVBoxLayout;
    box->setSpacing(1);
    box->addWidget(caption);
    auto* row = new QHBoxLayout;
    row->setSpacing(1);
    for (int i = group.first; i <= group.last; ++i) row->addWidget(butt_[i]);
    row->addStretch(1);
    box->addLayout(row);
    grid->addLayout(box, g / 2, g % 2);
  }
  tsLab_ = new QLabel(bar);
  tsLab_->setWordWrap(true);
  tsLab_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  tsLab_->setMinimumWidth(120);
  tsLab_->hide();
  picture3_ = new ClickablePicture(bar);
  picture3_->setPixmap(EditorLogo(QSize(110, 32)));
  picture3_->setAlignment(Qt::AlignCenter);
  picture3_->setToolTip(ShortcutSummary().trimmed());
  picture3_->setCursor(Qt::PointingHandCursor);
  connect(picture3_, &ClickablePicture::Clicked, this,
          [this] { services_.dialogs->ShowAbout(this); });
  grid->addWidget(tsLab_, 0, 2, 2, 1);
  grid->addWidget(picture3_, 0, 2, 2, 1);
  grid->setColumnStretch(2, 1);
}

QWidget* EditorWindow::BuildTagEditor() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  model_ = new LineListModel(session_, this);
  // A one-column tree view without a header looks like a list; unlike QListView it does not lay
  // out all rows again when one row's text changes, so a stamp costs the same on any length.
  list1_ = new QTreeView(page);
  list1_->setModel(model_);
  list1_->setUniformRowHeights(true);
  list1_->setHeaderHidden(true);
  list1_->setRootIsDecorated(false);
  list1_->setItemsExpandable(false);
  list1_->setAllColumnsShowFocus(true);
  list1_->setSelectionMode(QAbstractItemView::SingleSelection);
  list1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list1_->setMouseTracking(true);
  list1_->viewport()->installEventFilter(this);
  QFont mono = list1_->font();
  mono.setStyleHint(QFont::TypeWriter);
  mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                    QStringLiteral("DejaVu Sans Mono"), QStringLiteral("monospace")});
  list1_->setFont(mono);
  // Selection rather than the current item: a view that gets the focus makes its first row
  // current without selecting it, and that is no click of the user.
  connect(list1_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const QModelIndexList rows = list1_->selectionModel()->selectedRows();
    if (!rows.isEmpty()) CurrentRowChanged(rows.first().row());
  });
  connect(list1_, &QTreeView::doubleClicked, this,
          [this](const QModelIndex& index) { session_.DoubleClickRow(index.row()); });
  layout->addWidget(list1_, 1);

  auto* edits = new QHBoxLayout;
  tltEdit_ = new QLineEdit(page);
  tltEdit_->setToolTip(QStringLiteral("歌词时间输入，回车转到输入歌词。"));
  tltEdit_->setFixedWidth(tltEdit_->fontMetrics().horizontalAdvance(QStringLiteral("-00:00.000")) + 12);
  tlEdit_ = new QLineEdit(page);
  tlEdit_->setToolTip(kTextBoxTip);
  // The box holds what the list shows of a line at most; a longer line is shown cut, read-only.
  tlEdit_->setMaxLength(int(kDisplayTextChars));
  check1_ = new QCheckBox(QStringLiteral("跟随播放"), page);
  for (QLineEdit* box : {tltEdit_, tlEdit_}) {
    box->setAcceptDrops(false);
    box->installEventFilter(this);
    SetBoxColor(box, false);
  }
  edits->addWidget(tltEdit_);
  edits->addWidget(tlEdit_, 1);
  edits->addWidget(check1_);
  layout->addLayout(edits);
  connect(tltEdit_, &QLineEdit::returnPressed, &session_, &EditorSession::TimeBoxEnter);
  connect(tlEdit_, &QLineEdit::returnPressed, &session_, &EditorSession::TextBoxEnter);
  connect(tltEdit_, &QLineEdit::textEdited, &session_, &EditorSession::TimeBoxEdited);
  connect(tlEdit_, &QLineEdit::textEdited, &session_, &EditorSession::TextBoxEdited);
  connect(check1_, &QCheckBox::clicked, &session_, &EditorSession::SetFollow);

  auto* info = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(InfoCaption(i) + u':', page);
    auto* box = new QLineEdit(page);
    box->setAcceptDrops(false);
    connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) { session_.InfoEdited(i, text); });
    llrcInf_.append(label);
    tlrcInf_.append(box);
    info->addWidget(label, i / 2, (i % 2) * 2);
    info->addWidget(box, i / 2, (i % 2) * 2 + 1);
  }
  layout->addLayout(info);
  // Tab order: time, text, then the four info boxes.
  QWidget::setTabOrder(tltEdit_, tlEdit_);
  QWidget::setTabOrder(tlEdit_, tlrcInf_[0]);
  for (int i = 0; i < 3; ++i) QWidget::setTabOrder(tlrcInf_[i], tlrcInf_[i + 1]);
  return page;
}

QWidget* EditorWindow::BuildTextPanel() {
  picture4_ = new QWidget(this);
  auto* layout = new QVBoxLayout(picture4_);
  layout->setContentsMargins(0, 0, 0, 0);
  text1_ = new QPlainTextEdit(picture4_);
  text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  command1_ = new QPushButton(QStringLiteral("文本编辑模式，点次返回标签修改模式"), picture4_);
  layout->addWidget(text1_, 1);
  layout->addWidget(command1_);
  connect(command1_, &QPushButton::clicked, this,
          [this] { session_.ReturnFromTextMode(text1_->toPlainText()); });
  return picture4_;
}

// One action per command; the tool buttons and the keys run the commands through them, so a
// command that cannot run now is disabled for both at once.
void EditorWindow::BuildActions() {
  for (int i = 0; i < kEditorCommandLimit; ++i) {
    auto* action = new QAction(CommandTooltip(i), this);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, i] { session_.RunCommand(i); });
    addAction(action);
    actions_.append(action);
  }
  for (int i = 0; i < kCommandShortcutCount; ++i) {
    const CommandShortcut shortcut = CommandShortcutAt(i);
    actions_[shortcut.command]->setShortcut(QKeySequence(shortcut.key));
  }
}

void EditorWindow::UpdateCommandStates() {
  for (int i = 0; i < kEditorCommandLimit; ++i) {
    const bool available = session_.CommandAvailable(i);
    actions_[i]->setEnabled(available);
    if (i < kEditorCommandCount) butt_[i]->setEnabled(available);
  }
}

void EditorWindow::Start(const QStringList& arguments, const QStringList& unreadable) {
  show();
  session_.Start(arguments, unreadable);
}

void EditorWindow::ButtonEntered(int index) {
  if (pressed_ >= 0 && pressed_ != index) return;
  hovered_ = index;
  timer3_.stop();
  // A disabled button is not raised, and the status line says why it does nothing.
  const bool enabled = butt_[index]->isEnabled();
  if (enabled) butt_[index]->SetLook(FromBgr(0xFFC0C0), ToolButton::Frame::Raised);
  tsLab_->setText(enabled ? CommandTooltip(index)
                          : CommandTooltip(index) + QStringLiteral("（文本模式下不可用）"));
  picture3_->hide();
  tsLab_->show();
}

void EditorWindow::ButtonLeft(int index) {
  butt_[index]->SetLook(kToolBarColor, ToolButton::Frame::None);
  if (hovered_ == index) hovered_ = -1;
  HideStatusLine();
}

void EditorWindow::HideStatusLine() {
  if (tsLab_->isHidden()) return;
  tsLab_->hide();
  timer3_.start();
}

void EditorWindow::CurrentRowChanged(int row) {
  if (listBusy_) return;
  session_.ClickRow(row);
}

void EditorWindow::SetBoxColor(QLineEdit* box, bool focused) {
  QPalette palette = box->palette();
  palette.setColor(QPalette::Base, FromBgr(focused ? 0xC0FFFF : 0xFFFFFF));
  box->setPalette(palette);
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list1_->viewport() && event->type() == QEvent::MouseMove) {
    HideStatusLine();
    return false;
  }
  const bool timeBox = watched == tltEdit_;
  if (!timeBox && watched != tlEdit_) return QWidget::eventFilter(watched, event);
  const EditorSession::Box box = timeBox ? EditorSession::Box::Time : EditorSession::Box::Text;
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Switching to another window or opening a menu is no move between the boxes.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    const bool in = event->type() == QEvent::FocusIn;
    SetBoxColor(static_cast<QLineEdit*>(watched), in);
    if (in)
      session_.SetFocus(box);
    else if (session_.Focus() == box)
      session_.SetFocus(EditorSession::Box::None);
  }
  return false;
}

bool EditorWindow::OpenDrop(const QMimeData& dropped) {
  if (!dropped.hasUrls() || dropped.urls().isEmpty()) return false;
  const QUrl first = dropped.urls().first();
  if (!first.isLocalFile()) return false;
  const QString path = first.toLocalFile();
  if (!QFileInfo(path).isFile()) return false;
  session_.OpenDroppedFile(path);
  return true;
}

void EditorWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void EditorWindow::dropEvent(QDropEvent* event) {
  if (OpenDrop(*event->mimeData())) event->acceptProposedAction();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    const bool canClose = session_.CanClose();
    // A failed return from text mode asks for the close itself, from inside CanClose; it stands.
    if (!canClose && !closing_) {
      event->ignore();
      return;
    }
  }
  session_.Shutdown();
  event->accept();
}

void EditorWindow::LinesReset() {
  listBusy_ = true;
  model_->ResetRows();
  listBusy_ = false;
}

void EditorWindow::LineChanged(int row) { model_->RowChanged(row); }

void EditorWindow::SelectionChanged() {
  listBusy_ = true;
  const int row = session_.Selection();
  if (row < 0) {
    list1_->selectionModel()->clear();
  } else {
    const QModelIndex index = model_->index(row);
    list1_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list1_->scrollTo(index);
  }
  listBusy_ = false;
}

void EditorWindow::EditBoxesChanged() {
  if (tltEdit_->text() != session_.TimeBoxText()) tltEdit_->setText(session_.TimeBoxText());
  const QString shown = DisplayText(session_.TextBoxText());
  const bool readOnly = session_.TextBoxReadOnly();
  if (tlEdit_->text() != shown) {
    tlEdit_->setText(shown);
    // A cut line is shown from its start; a box that can be typed in keeps the cursor at the end.
    if (readOnly) tlEdit_->setCursorPosition(0);
  }
  tlEdit_->setReadOnly(readOnly);
  tlEdit_->setToolTip(readOnly ? kLongLineTip : kTextBoxTip);
}

void EditorWindow::SelectTextBoxContents() { tlEdit_->selectAll(); }

void EditorWindow::FocusChanged() {
  switch (session_.Focus()) {
    case EditorSession::Box::Time: tltEdit_->setFocus(Qt::OtherFocusReason); break;
    case EditorSession::Box::Text: tlEdit_->setFocus(Qt::OtherFocusReason); break;
    case EditorSession::Box::None: break;
  }
}

void EditorWindow::InfoChanged() {
  for (int i = 0; i < 4; ++i) tlrcInf_[i]->setText(session_.InfoText(i));
}

void EditorWindow::TitleChanged() { setWindowTitle(session_.Title()); }

void EditorWindow::PositionChanged() {
  locPut_->SetFraction(session_.ShownFraction());
  const QString text = session_.OutTimeText();
  if (outTime_->text() != text) outTime_->setText(text);
}

void EditorWindow::FollowChanged() { check1_->setChecked(session_.Follow()); }

void EditorWindow::TextModeChanged() {
  if (session_.TextMode()) {
    text1_->setPlainText(session_.TextSnapshot());
    if (session_.TextModeResumed()) {
      // Back from a save: the cursor goes where it stood, as far as the saved text reaches.
      QTextCursor cursor(text1_->document()->findBlockByNumber(
          std::min(textCursorLine_, text1_->document()->blockCount() - 1)));
      cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                          std::min(textCursorColumn_, cursor.block().length() - 1));
      text1_->setTextCursor(cursor);
      text1_->verticalScrollBar()->setValue(textScroll_);
    }
    stack_->setCurrentWidget(picture4_);
    text1_->setFocus();
  } else {
    textCursorLine_ = text1_->textCursor().blockNumber();
    textCursorColumn_ = text1_->textCursor().positionInBlock();
    textScroll_ = text1_->verticalScrollBar()->value();
    stack_->setCurrentIndex(0);
    text1_->clear();
  }
  UpdateCommandStates();
}

std::optional<QString> EditorWindow::TextModeText() {
  if (!session_.TextMode()) return std::nullopt;
  return text1_->toPlainText();
}

void EditorWindow::CloseRequested() {
  closing_ = true;
  close();
}

}  // namespace lyrova
