#pragma once

#include "editor/core/editorsession.h"

#include <QList>
#include <QTimer>
#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeView;
class QMimeData;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace lyrova {

class ClickablePicture;
class EditorProgressBar;
class ToolButton;
class LineListModel;

// The Editor's main window: the tool bar with its four groups, the status line and logo, the
// line list, the time and text boxes, follow playback, the info boxes, the progress bar and the
// text-mode panel. All decisions are the session's; the window forwards user events to it and
// redraws on its notifications.
class EditorWindow : public QWidget, public EditorView {
  Q_OBJECT

 public:
  static constexpr int kMinWidthPixels = 494;   // 7410 twips
  static constexpr int kMinHeightPixels = 490;  // 7350 twips

  explicit EditorWindow(const EditorServices& services, QWidget* parent = nullptr);
  ~EditorWindow() override;

  // The session's start-up with the program's arguments (see EditorSession::Start), then the
  // first showing.
  void Start(const QStringList& arguments, const QStringList& unreadable = {});
  EditorSession& Session() { return session_; }

  // Controls by their designed names, for the window's own parts and for tests.
  ToolButton* Butt(int index) const { return butt_.value(index); }
  // The action of a command (0..kEditorCommandLimit-1): the buttons and keys run it.
  QAction* CommandAction(int command) const { return actions_.value(command); }
  QLabel* ButtType(int group) const { return buttType_.value(group); }
  QLabel* StatusLine() const { return tsLab_; }
  ClickablePicture* Logo() const { return picture3_; }
  QTreeView* List1() const { return list1_; }
  QLineEdit* TLTEdit() const { return tltEdit_; }
  QLineEdit* TLEdit() const { return tlEdit_; }
  QCheckBox* Check1() const { return check1_; }
  QLineEdit* TLrcInf(int index) const { return tlrcInf_.value(index); }
  QLabel* LLrcInf(int index) const { return llrcInf_.value(index); }
  EditorProgressBar* LocPut() const { return locPut_; }
  QLabel* OutTime() const { return outTime_; }
  QWidget* Picture4() const { return picture4_; }
  QPlainTextEdit* Text1() const { return text1_; }
  QPushButton* Command1() const { return command1_; }
  QTimer& Timer3() { return timer3_; }

  // The drop of a file manager: the first file it carries, when that file exists.
  bool OpenDrop(const QMimeData& dropped);

  // EditorView.
  void LinesReset() override;
  void LineChanged(int row) override;
  void SelectionChanged() override;
  void EditBoxesChanged() override;
  void SelectTextBoxContents() override;
  void FocusChanged() override;
  void InfoChanged() override;
  void TitleChanged() override;
  void PositionChanged() override;
  void FollowChanged() override;
  void TextModeChanged() override;
  std::optional<QString> TextModeText() override;
  void CloseRequested() override;
  QWidget* DialogOwner() override { return this; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildToolBar(QWidget* bar);
  QWidget* BuildTagEditor();
  QWidget* BuildTextPanel();
  void BuildActions();
  void UpdateCommandStates();
  void ButtonEntered(int index);
  void ButtonLeft(int index);
  void HideStatusLine();
  void CurrentRowChanged(int row);
  void SetBoxColor(QLineEdit* box, bool focused);

  EditorServices services_;
  EditorSession session_;
  LineListModel* model_ = nullptr;
  QList<ToolButton*> butt_;
  QList<QAction*> actions_;
  QList<QLabel*> buttType_;
  QLabel* tsLab_ = nullptr;
  ClickablePicture* picture3_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QTreeView* list1_ = nullptr;
  QLineEdit* tltEdit_ = nullptr;
  QLineEdit* tlEdit_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QList<QLabel*> llrcInf_;
  QList<QLineEdit*> tlrcInf_;
  EditorProgressBar* locPut_ = nullptr;
  QLabel* outTime_ = nullptr;
  QWidget* picture4_ = nullptr;
  QPlainTextEdit* text1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QTimer timer3_;
  int textCursorLine_ = 0;   // where the cursor of Text1 stood when text mode was last left
  int textCursorColumn_ = 0;
  int textScroll_ = 0;
  int hovered_ = -1;   // the tool button under the pointer
  int pressed_ = -1;   // the tool button the left button went down on
  bool listBusy_ = false;
  bool closing_ = false;
};

}  // namespace lyrova
