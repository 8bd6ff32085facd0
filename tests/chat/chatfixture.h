#pragma once

// A chat controller over the fake window system, scripted prompts, a private settings store and
// a launcher that only records.
#include "common/launcher.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "player/chat/chatcontroller.h"
#include "player/chat/fakewindowsystem.h"
#include "player/core/playersettings.h"

#include <QTemporaryDir>

namespace lyrova {

struct RecordingLauncher : Launcher {
  bool Start(const QString& program, const QStringList& arguments, QString* error) override {
    started.append(QStringList{program} + arguments);
    if (!fails) return true;
    if (error) *error = QStringLiteral("没有这个程序");
    return false;
  }
  QList<QStringList> started;
  bool fails = false;
};

using Msg = FakeWindowSystem::Message;
using Call = FakeWindowSystem::Call;

struct ChatFixture {
  QTemporaryDir root;
  SettingsStore settings{kPlayerProgram, root.filePath(QStringLiteral("config"))};
  FakeWindowSystem windows;
  ScriptedPrompts prompts;
  RecordingLauncher launcher;
  ChatController chat{ChatController::Services{&windows, &prompts, &settings, &launcher,
                                               root.filePath(QStringLiteral("emotions.ini"))}};
  QList<bool> shownStates;

  ChatFixture() {
    settings.WriteSetting(playerkeys::kTextEditor, QStringLiteral("mousepad"));
    chat.showSendState = [this](bool on) { shownStates.append(on); };
    chat.StartChatDiscovery();
    shownStates.clear();
  }

  // A chat window of `kind` with an input control one level down; returns the window and
  // sets `editor`.
  WindowHandle AddChat(ChatKind kind, const QString& title, WindowHandle* editor = nullptr,
                       quint32 pid = 100) {
    const WindowHandle window = windows.AddWindow(targetKinds()[size_t(kind)].windowClass, title, pid);
    const WindowHandle panel = windows.AddWindow(QStringLiteral("TPanel"), QString(), 0, window);
    const WindowHandle input = windows.AddWindow(kEditorClass, QString(), 0, panel);
    if (editor) *editor = input;
    return window;
  }

  // Builds the menu and clicks the item showing `title`.
  void Choose(const QString& title) {
    const QList<TargetMenuItem> items = chat.ShowTargetMenu();
    for (int i = 0; i < items.size(); ++i) {
      if (!items[i].separator && items[i].caption == title) {
        chat.SelectTarget(i);
        return;
      }
    }
  }

  QString LastMessage() const { return prompts.Last().text; }
};

// The key messages of the two submit keys, as posted to `editor`.
inline QList<Msg> EnterMessages(WindowHandle editor) {
  return {Msg{Call::Posted, editor, 0x0100, 0x0D, 0x00020002, {}}};
}
inline QList<Msg> CtrlEnterMessages(WindowHandle editor) {
  return {Msg{Call::Posted, editor, 0x0100, 0x11, 0x401D0001, {}},
          Msg{Call::Posted, editor, 0x0100, 0x0D, 0x0002C001, {}},
          Msg{Call::Posted, editor, 0x0101, 0x0D, 0x0C02C001, {}},
          Msg{Call::Posted, editor, 0x0101, 0x11, 0xC01D0001, {}}};
}

}  // namespace lyrova
