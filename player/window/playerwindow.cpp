#include "player/window/playerwindow.h"

#include "common/paths.h"
#include "common/prompts/prompts.h"
#include "common/settings.h"
#include "common/ui/toolbutton.h"
#include "common/ui/widgetprompts.h"
#include "common/windowfit.h"
#include "player/core/playerhooks.h"
#include "player/core/shifttext.h"
#include "player/shell/windoweffects.h"
#include "player/window/bars.h"
#include "player/core/lyriccolors.h"
#include "player/window/colors.h"
#include "player/window/lyriclabel.h"
#include "player/window/statuslabel.h"
#include "player/window/toolicons.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace lyrova {
namespace {

const QStringList kButtonHints = {
    QStringLiteral("打开文件"),     QStringLiteral("播放"),
    QStringLiteral("暂停"),         QStringLiteral("停止"),
    QStringLiteral("保持在顶部"),   QStringLiteral("发送歌词到 Chatora"),
    QStringLiteral("选择发送目标"), QStringLiteral("调节发送时间"),
    QStringLiteral("Chatora 歌词修饰"), QStringLiteral("聊天窗口"),
    QStringLiteral("设置与工具"),   QStringLiteral("帮助"),
    QStringLiteral("退出")};

void Fill(QWidget* widget, const QColor& color) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
}

void SetTextColor(QLabel* label, const QColor& color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
}

// The part of the screen the window may take. Without a real screen to measure (no display, or
// the offscreen platform, whose screen size is made up) a fixed square stands in.
QRect AvailableArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr || QGuiApplication::platformName() == u"offscreen")
    return QRect(0, 0, kNoScreenExtentPixels, kNoScreenExtentPixels);
  return screen->availableGeometry();
}

}  // namespace

PlayerWindow::PlayerWindow(const PlayerServices& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      services_(services),
      session_(PlayerSessionServices{services.media, services.prompts, services.companions,
                                     services.chat, services.dataFolder, services.lookupIndex,
                                     services.echo, services.echoWord, services.quitAtEnd,
                                     services.songFailed}) {
  // A program without dialogs or chat sending leaves these out; the defaults do nothing.
  static CompanionHooks noCompanions;
  static ChatHooks noChat;
  if (services_.companions == nullptr) services_.companions = &noCompanions;
  if (services_.chat == nullptr) services_.chat = &noChat;
  session_.SetView(this);
  setWindowTitle(QStringLiteral("Lyrova"));
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  popUp = [](QMenu* menu, const QPoint& at) { menu->exec(at); };
  BuildControls();
  BuildMenus();
  // The window stays on top: a box or dialog without an owner could open beneath it, so every
  // one shown through the real prompts belongs to the window.
  if (auto* boxes = dynamic_cast<WidgetPrompts*>(services_.prompts)) boxes->SetParent(this);
}

PlayerWindow::~PlayerWindow() { session_.SetView(nullptr); }

void PlayerWindow::BuildControls() {
  showWin_ = new QWidget(this);
  lrcOut_ = new QWidget(showWin_);
  Fill(lrcOut_, colors::kBand);
  for (int i = 0; i < 2; ++i) {
    auto* label = new LyricLabel(i == 0 ? LyricLabel::Overflow::Scroll : LyricLabel::Overflow::Elide, lrcOut_);
    QFont font(kDefaultFontName);
    font.setPointSizeF(11);
    label->setFont(font);
    SetTextColor(label, i == 0 ? colors::kCurrentLine : colors::kNextLine);
    label->SetSungColor(colors::kPlayed);
    label->installEventFilter(this);
    lrc_.append(label);
    if (i == 0) currentLine_ = label;
  }
  lrcOut_->installEventFilter(this);

  panel_ = new QWidget(showWin_);
  Fill(panel_, colors::kPanel);
  panel_->installEventFilter(this);
  locPut_ = new ProgressBar(panel_);
  locPut_->setFixedHeight(6);
  connect(locPut_, &ProgressBar::Pressed, &session_, &PlayerSession::SeekPress);
  connect(locPut_, &ProgressBar::Dragged, &session_, &PlayerSession::SeekDrag);
  connect(locPut_, &ProgressBar::ReleasedAt, &session_, &PlayerSession::SeekRelease);
  for (int i = 0; i < kButtonCount; ++i) {
    auto* button = new ToolButton(i, kPlayerButtonSide, panel_);
    button->SetIcon(ToolIcon(PlayerButton(i)));
    connect(button, &ToolButton::Entered, this, &PlayerWindow::OnButtonEntered);
    connect(button, &ToolButton::Left, this, &PlayerWindow::OnButtonLeft);
    connect(button, &ToolButton::Pressed, this, &PlayerWindow::OnButtonPressed);
    connect(button, &ToolButton::Released, this, &PlayerWindow::OnButtonReleased);
    controlButt_.append(button);
  }
  shape1_ = new QWidget(panel_);
  shape1_->setAttribute(Qt::WA_TransparentForMouseEvents);
  shape1_->setStyleSheet(QStringLiteral("border: 1px solid #9a9a9a;"));
  vol_ = new VolumeBar(panel_);
  vol_->hide();
  connect(vol_, &VolumeBar::VolumeAt, this, &PlayerWindow::SetVolumeAt);
  connect(vol_, &VolumeBar::PointerAt, this, [this](bool inside) {
    if (!inside) ShowVolumeBar(false);
  });
  label1_ = new StatusLabel(panel_);
  label2_ = new StatusLabel(panel_);
  label2_->hide();
  SetTextColor(label2_, colors::kHintText);
  label2_->setAutoFillBackground(true);
  {
    QPalette palette = label2_->palette();
    palette.setColor(QPalette::Window, QColor(80, 80, 80));
    label2_->setPalette(palette);
  }
  label1_->installEventFilter(this);
  label2_->installEventFilter(this);

  text1_ = new QLineEdit(showWin_);
  text1_->setToolTip(QStringLiteral("发送歌词时可在这里聊天不会受到干扰"));
  text1_->installEventFilter(this);
  text1_->hide();
}

void PlayerWindow::BuildMenus() {
  chatoraSel_ = new QMenu(this);
  auto* sel = chatoraSel_->addAction(QStringLiteral("未选择 Chatora 大厅"));
  sendSel_.append(sel);
  connect(chatoraSel_, &QMenu::aboutToShow, this,
          [this] { services_.chat->ChooseTarget(chatoraSel_); });

  lrcAdvance_ = new QMenu(this);
  la1_ = lrcAdvance_->addAction(QStringLiteral("歌词不调节"));
  la1_->setCheckable(true);
  connect(la1_, &QAction::triggered, this, [this] { session_.SetShift(0); });
  la2_ = lrcAdvance_->addMenu(QStringLiteral("歌词提前"));
  la3_ = lrcAdvance_->addMenu(QStringLiteral("歌词延迟"));

  setMenu_ = new QMenu(this);
  AddLyricsFileItems();
  setMenu_->addSeparator();
  AddPlaybackToggles();
  AddFollowItems();
  AddSendingItems();
  setMenu_->addSeparator();
  AddLookItems();
  setMenu_->addSeparator();
  AddEditItems();
  setMenu_->addSeparator();
  AddFileManagerItems();

  helpMm_ = new QMenu(QStringLiteral("帮助"), this);
  QAction* help = helpMm_->addAction(QStringLiteral("帮助文档"));
  QAction* about = helpMm_->addAction(QStringLiteral("关于Lyrova"));
  connect(help, &QAction::triggered, this, &PlayerWindow::ShowHelp);
  connect(about, &QAction::triggered, this, &PlayerWindow::ShowAbout);
}

QAction* PlayerWindow::AddToggle(const QString& objectName, const QString& caption) {
  QAction* action = setMenu_->addAction(caption);
  action->setObjectName(objectName);
  action->setCheckable(true);
  return action;
}

void PlayerWindow::AddLyricsFileItems() {
  QMenu* addDir = setMenu_->addMenu(QStringLiteral("添加歌词查找目录"));
  addDir->setObjectName(QStringLiteral("AddLrcDir_M"));
  QAction* scan = addDir->addAction(QStringLiteral("自动在硬盘上搜索并添加"));
  QAction* manual = addDir->addAction(QStringLiteral("手工添加"));
  connect(scan, &QAction::triggered, this, [this] {
    if (services_.companions->StartScanner()) close();
  });
  connect(manual, &QAction::triggered, this, [this] { services_.companions->ShowSearchDirDialog(this); });
  QAction* link = setMenu_->addAction(QStringLiteral("关联歌词"));
  link->setObjectName(QStringLiteral("LinkLrc_M"));
  connect(link, &QAction::triggered, &session_, &PlayerSession::LinkLyrics);
  QAction* reload = setMenu_->addAction(QStringLiteral("重新载入歌词"));
  reload->setObjectName(QStringLiteral("RestLrc_M"));
  connect(reload, &QAction::triggered, &session_, &PlayerSession::ReloadLyrics);
}

void PlayerWindow::AddPlaybackToggles() {
  QAction* openLrcSel = AddToggle(QStringLiteral("OpenLrcSel_M"), QStringLiteral("自动打开关联歌词对话框"));
  QAction* loop = AddToggle(QStringLiteral("SetLoop_M"), QStringLiteral("循环播放"));
  QAction* autoPlay = AddToggle(QStringLiteral("SetAutoPlay_M"), QStringLiteral("打开时自动播放"));
  connect(openLrcSel, &QAction::triggered, this, [this, openLrcSel] {
    session_.SetOfferLinkDialog(StoreToggle(openLrcSel, playerkeys::kOpenLrcSel));
  });
  connect(loop, &QAction::triggered, this,
          [this, loop] { session_.SetPlayLoop(StoreToggle(loop, playerkeys::kPlayLoop)); });
  connect(autoPlay, &QAction::triggered, this,
          [this, autoPlay] { session_.SetAutoPlay(StoreToggle(autoPlay, playerkeys::kAutoPlay)); });
}

void PlayerWindow::AddSendingItems() {
  sendTypeM_ = setMenu_->addMenu(QStringLiteral("发送方式"));
  for (const QString& caption : {QStringLiteral("粘贴发送"), QStringLiteral("模拟击键"), QStringLiteral("快速发送")}) {
    QAction* item = sendTypeM_->addAction(caption);
    item->setCheckable(true);
    const SendMethod method{int(sendTypeSel_.size())};
    connect(item, &QAction::triggered, this, [this, method] { SelectSendType(method); });
    sendTypeSel_.append(item);
  }
  sendTypeSel_[int(SendMethod::SetText)]->setVisible(false);
  QAction* skipUrl = AddToggle(QStringLiteral("SkipUrl_M"), QStringLiteral("不发送包含网址的歌词"));
  QAction* chatTest = AddToggle(QStringLiteral("ChatTest_M"), QStringLiteral("在非目标窗口输入时时停止发送"));
  connect(skipUrl, &QAction::triggered, this, [this, skipUrl] {
    settings_.skipUrl = StoreToggle(skipUrl, playerkeys::kSkipUrl);
    ForwardChatOptions();
  });
  connect(chatTest, &QAction::triggered, this, [this, chatTest] {
    settings_.chatTest = StoreToggle(chatTest, playerkeys::kChatTest);
    ForwardChatOptions();
  });
}

void PlayerWindow::AddLookItems() {
  QAction* bilingual = AddToggle(QStringLiteral("Bilingual_M"), QStringLiteral("双语歌词"));
  connect(bilingual, &QAction::triggered, this, [this, bilingual] {
    session_.SetBilingual(StoreToggle(bilingual, playerkeys::kBilingual));
  });
  lyricColors_ = setMenu_->addMenu(QStringLiteral("歌词颜色"));
  for (int i = 0; i < kLyricColorSchemeCount; ++i) {
    QAction* item = lyricColors_->addAction(LyricColorSchemes()[i].name);
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, i] {
      ApplyLyricColors(i);
      services_.settings->WriteSetting(playerkeys::kLyricColors, QString::number(i));
    });
    lyricColorItems_.append(item);
  }
  lFont_ = setMenu_->addMenu(QStringLiteral("歌词字体"));
  QAction* firstFace = lFont_->addAction(kDefaultFontName);
  connect(firstFace, &QAction::triggered, this, [this, firstFace] { ChooseFont(firstFace->text()); });
  lfx_.append(firstFace);
  lSize_ = setMenu_->addMenu(QStringLiteral("歌词字体尺寸"));
  QAction* firstSize = lSize_->addAction(QStringLiteral("8"));
  connect(firstSize, &QAction::triggered, this, [this] { ChooseFontSize(8); });
  lsx_.append(firstSize);
  mAlpha_ = setMenu_->addMenu(QStringLiteral("透明度"));
  QAction* opaque = mAlpha_->addAction(QStringLiteral("不透明"));
  connect(opaque, &QAction::triggered, this, [this] { ChooseTransparency(0); });
  mAlphas_.append(opaque);
}

void PlayerWindow::AddEditItems() {
  QAction* editWithEditor = setMenu_->addAction(QStringLiteral("用《Versel》编辑歌词"));
  QAction* editAsText = setMenu_->addAction(QStringLiteral("用记事本编辑歌词"));
  connect(editWithEditor, &QAction::triggered, this, [this] { session_.EditLyrics(true); });
  connect(editAsText, &QAction::triggered, this, [this] { session_.EditLyrics(false); });
}

void PlayerWindow::AddFileManagerItems() {
  QMenu* mouLink = setMenu_->addMenu(QStringLiteral("添加到资源管理器右键菜单中"));
  mouLink->setObjectName(QStringLiteral("MouLink_M"));
  QAction* mlAdd = mouLink->addAction(QStringLiteral("添加"));
  QAction* mlDel = mouLink->addAction(QStringLiteral("删除"));
  mlAdd->setObjectName(QStringLiteral("MLAdd_M"));
  mlDel->setObjectName(QStringLiteral("MLDel_M"));
  connect(mlAdd, &QAction::triggered, this, &PlayerWindow::AddFileManagerEntry);
  connect(mlDel, &QAction::triggered, this, &PlayerWindow::RemoveFileManagerEntry);
}

void PlayerWindow::BuildShiftMenus() {
  for (int i = 0; i < kShiftMenuItems; ++i) {
    QAction* advance = la2_->addAction(ShiftItemCaption(i));
    QAction* delay = la3_->addAction(ShiftItemCaption(i));
    advance->setCheckable(true);
    delay->setCheckable(true);
    connect(advance, &QAction::triggered, this, [this, i] { session_.SetShift((i + 1) * kShiftStepMs); });
    connect(delay, &QAction::triggered, this, [this, i] { session_.SetShift(-(i + 1) * kShiftStepMs); });
    la2x_.append(advance);
    la3x_.append(delay);
  }
}

QAction* PlayerWindow::Toggle(const QString& objectName) const {
  return setMenu_->findChild<QAction*>(objectName);
}

bool PlayerWindow::StoreToggle(QAction* action, const QString& key) {
  const bool on = action->isChecked();
  services_.settings->WriteBoolSetting(key, on);
  return on;
}

void PlayerWindow::SelectSendType(SendMethod method) {
  sendType_ = method;
  const int index = int(method);
  for (int i = 0; i < sendTypeSel_.size(); ++i) sendTypeSel_[i]->setChecked(i == index);
  sendTypeM_->setTitle(QStringLiteral("发送方式: ") + sendTypeSel_[index]->text());
  ForwardChatOptions();
  if (method == SendMethod::SetText)
    services_.prompts->Message(
        QStringLiteral("你选择的发送方式是快速发送，用此方式发送带表请歌词可能会引起发送的文本混乱，"
                       "因此建议使用此方式时不要使用Chatora表情代码"),
        QStringLiteral("Lyrova"), MessageIcon::Warning);
}

void PlayerWindow::ForwardChatOptions() {
  services_.chat->SetSendOptions(ChatSendOptions{sendType_, settings_.skipUrl, settings_.chatTest});
}

void PlayerWindow::LoadSettings() {
  const SettingsStore& store = *services_.settings;
  settings_ = ReadPlayerSettings(store, services_.programFolder, kDesignWidthTwips);
  session_.UseSettings(settings_);
  SelectSendType(SendMethod{settings_.sendType});
  mAlpha_->menuAction()->setVisible(services_.layeredAvailable);
  transparency_ = settings_.transparency;
  if (transparency_ > 0) ApplyAlpha(transparency_);
  mAlpha_->setTitle(TransparencyMenuCaption(transparency_));
  for (int s = 1; s < kTransparencySteps; ++s) {
    QAction* item = mAlpha_->addAction(TransparencyItemCaption(s));
    connect(item, &QAction::triggered, this, [this, s] { ChooseTransparency(s); });
    mAlphas_.append(item);
  }
  Toggle(QStringLiteral("OpenLrcSel_M"))->setChecked(settings_.openLrcSel);
  Toggle(QStringLiteral("SetLoop_M"))->setChecked(settings_.playLoop);
  Toggle(QStringLiteral("SetAutoPlay_M"))->setChecked(settings_.autoPlay);
  Toggle(QStringLiteral("SkipUrl_M"))->setChecked(settings_.skipUrl);
  Toggle(QStringLiteral("ChatTest_M"))->setChecked(settings_.chatTest);
  Toggle(QStringLiteral("Bilingual_M"))->setChecked(settings_.bilingual);
  Toggle(QStringLiteral("Follow_M"))->setVisible(bool(services_.makeFollowSource));
  followPlayers_->menuAction()->setVisible(bool(services_.makeFollowSource));
  ApplyLyricColors(settings_.lyricColors);
}

void PlayerWindow::ApplyLyricColors(int index) {
  const LyricColorScheme& scheme = LyricColorSchemes()[std::clamp(index, 0, kLyricColorSchemeCount - 1)];
  Fill(lrcOut_, colors::FromBgr(scheme.band));
  SetTextColor(lrc_[0], colors::FromBgr(scheme.current));
  SetTextColor(lrc_[1], colors::FromBgr(scheme.next));
  for (int i = 0; i < lyricColorItems_.size(); ++i) lyricColorItems_[i]->setChecked(i == index);
  lyricColors_->setTitle(QStringLiteral("歌词颜色: ") + scheme.name);
}

// The stored "Width" (twips) as a window width in pixels that fits the screen. A width that had
// to change is written back repaired at once, so a broken value does not outlive this start even
// when the Player does not end normally.
int PlayerWindow::FitStoredWidth() {
  const qint32 twips = settings_.widthTwips;
  const int storedPixels = twips > 0 ? std::max(1, twips / kTwipsPerPixel) : 0;
  const int pixels = FitStoredExtent(storedPixels, kMinWidthPixels,
                                     kDesignWidthTwips / kTwipsPerPixel, AvailableArea(*this).width());
  if (pixels != storedPixels)
    services_.settings->WriteSetting(playerkeys::kWidth, QString::number(pixels * kTwipsPerPixel));
  return pixels;
}

void PlayerWindow::Start(const QStringList& arguments, const QStringList& unreadable) {
  services_.chat->StartChatDiscovery();
  LoadSettings();
  // The window starts at its minimum height: the chat strip hidden.
  resize(kDesignWidthTwips / kTwipsPerPixel, 0);
  LayOut();
  Button(PlayerButton::SendLyrics)->SetIcon(ToolIcon(PlayerButton::SendLyrics, 0));
  ApplyTopmost(false);
  resize(FitStoredWidth(), height());
  ApplyTopmost(true);
  BuildShiftMenus();
  SetOffsetMenus(0);
  for (QLabel* label : lrc_) {
    QFont font = label->font();
    font.setFamily(settings_.fontName);
    label->setFont(font);
  }
  if (settings_.fontSize) {
    for (QLabel* label : lrc_) {
      QFont font = label->font();
      font.setPointSizeF(*settings_.fontSize);
      label->setFont(font);
    }
    lSize_->setTitle(QStringLiteral("歌词字体尺寸: ") + QString::number(qint64(*settings_.fontSize + 0.5)));
  }
  ResizeHeightBy(-lastChatPanelHeight_);
  LayOut();
  for (int i = 1; i <= 40; ++i) {
    QAction* item = lSize_->addAction(QString::number(i + 8));
    connect(item, &QAction::triggered, this, [this, i] { ChooseFontSize(i + 8); });
    lsx_.append(item);
  }
  buttonHints_ = kButtonHints;
  label1_->SetStatus(QStringLiteral("播放已停止"), StatusLabel::Fit::Elided);

  // Follow mode as the command line or the settings say; a song named on the command line
  // wins over the stored setting.
  const bool follow = services_.makeFollowSource &&
                      (services_.followAtStart || (settings_.followMode && arguments.isEmpty()));
  if (follow) {
    SetFollowing(true);
  } else {
    session_.OpenAtStart(arguments, unreadable);
    if (session_.SongFailed()) return;
  }
  lastChatPanelHeight_ = kInitialChatPanelHeight;
  show();
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
  Shutdown();
  event->accept();
}

void PlayerWindow::Shutdown() {
  if (closing_) return;
  closing_ = true;
  session_.Shutdown();
  WriteShutdownSettings(*services_.settings, width() * kTwipsPerPixel, session_.Volume(),
                        qint32(sendType_), session_.OpenDir(), session_.OpenName());
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    session_.HoldShiftKey(event->key() == Qt::Key_Up ? kShiftStepMs : -kShiftStepMs);
    return;
  }
  if (event->key() == Qt::Key_M && event->modifiers() == Qt::AltModifier) {
    sendTypeSel_[int(SendMethod::SetText)]->setVisible(true);
    return;
  }
  QWidget::keyPressEvent(event);
}

void PlayerWindow::keyReleaseEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && !event->isAutoRepeat()) {
    session_.HoldShiftKey(0);
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void PlayerWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void PlayerWindow::dropEvent(QDropEvent* event) {
  if (OpenDrop(*event->mimeData())) event->acceptProposedAction();
}

bool PlayerWindow::OpenDrop(const QMimeData& dropped) {
  const QList<QUrl> urls = dropped.urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
  const QString path = urls.first().toLocalFile();
  if (!FileExists(path)) return false;
  if (session_.Following()) SetFollowing(false);
  session_.OpenDropped(path);
  return true;
}

bool PlayerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text1_) return ChatStripEvent(event) || QWidget::eventFilter(watched, event);
  const bool movable = watched == lrcOut_ || watched == panel_ || lrc_.contains(watched);
  if (movable && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      dragOffset_ = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
      windowDragging_ = false;
    }
  } else if (movable && event->type() == QEvent::MouseMove) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->buttons() & Qt::LeftButton) {
      // The window system moves the window when it can; elsewhere the window follows the pointer.
      if (!windowDragging_ && windowHandle() && windowHandle()->startSystemMove()) return true;
      windowDragging_ = true;
      move(mouse->globalPosition().toPoint() - dragOffset_);
      return true;
    }
  } else if ((watched == label1_ || watched == label2_) && event->type() == QEvent::Enter) {
    ShowVolumeBar(true);
  }
  return QWidget::eventFilter(watched, event);
}

bool PlayerWindow::ChatStripEvent(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (services_.chat->ChatBoxEnter(text1_->text())) text1_->clear();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    // Dropped text replaces the strip's content; it goes out only on Enter.
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasText()) return false;
    text1_->setText(drop->mimeData()->text());
    drop->acceptProposedAction();
    return true;
  }
  return false;
}

void PlayerWindow::ShowVolumeBar(bool show) {
  if (show) {
    shape1_->hide();
    label1_->hide();
    label2_->hide();
    vol_->show();
    vol_->grabMouse();
  } else {
    vol_->releaseMouse();
    vol_->hide();
    shape1_->show();
    label1_->show();
    label2_->hide();
  }
}

bool PlayerWindow::VolumeBarShown() const { return vol_->isVisible(); }
QString PlayerWindow::CurrentLineText() const { return lrc_[0]->text(); }
QString PlayerWindow::NextLineText() const { return lrc_[1]->text(); }
QString PlayerWindow::StatusText() const { return label1_->FullText(); }
QString PlayerWindow::HintText() const { return label2_->FullText(); }
bool PlayerWindow::HintShown() const { return !label2_->isHidden(); }

}  // namespace lyrova
