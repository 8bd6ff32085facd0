#pragma once

// An Editor session over the fake audio system, scripted prompts and dialogs and a private
// settings store, for tests without a screen.
#include "common/clock.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "editor/core/editorsession.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"

#include <QDir>
#include <QFile>
#include <QQueue>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace lyrova {

// Yes/No/Cancel answers from a queue; records every question. Unanswered: fails and cancels.
class ScriptedSaveQuestion : public SaveQuestion {
 public:
  void Answer(SaveAnswer answer) { answers.enqueue(answer); }
  SaveAnswer Ask(QWidget*, const QString& text, bool allowCancel) override {
    asked.append(text);
    cancelOffered.append(allowCancel);
    if (answers.isEmpty()) {
      QTest::qFail("save-changes question without a scripted answer", __FILE__, __LINE__);
      return SaveAnswer::Cancel;
    }
    return answers.dequeue();
  }
  QQueue<SaveAnswer> answers;
  QStringList asked;
  QList<bool> cancelOffered;
};

// The Editor's dialogs answered from queues; records the chooser's preselection. Unanswered:
// fails the test and cancels.
class FakeEditorDialogs : public EditorDialogs {
 public:
  void AnswerChooser(int choice) { choosers.enqueue(ChooserResult{false, choice}); }
  void CancelChooser() { choosers.enqueue(ChooserResult{true, 0}); }
  void AnswerOffset(bool allTags, qint32 valueMs) { offsets.enqueue(OffsetResult{allTags, valueMs}); }
  void AnswerLayout(bool compressed) { layouts.enqueue(LayoutResult{false, compressed}); }
  void CancelLayout() { layouts.enqueue(LayoutResult{true, false}); }

  ChooserResult ChooseNewOrClear(QWidget*, int lastChoice) override {
    lastChoices.append(lastChoice);
    return Take(choosers, ChooserResult{});
  }
  OffsetResult AskOffset(QWidget*) override { return Take(offsets, OffsetResult{}); }
  LayoutResult ChooseLayout(QWidget*, bool compressed) override {
    layoutShownOn.append(compressed);
    return Take(layouts, LayoutResult{});
  }
  void ShowAbout(QWidget*) override { ++aboutShown; }

  QQueue<ChooserResult> choosers;
  QQueue<OffsetResult> offsets;
  QQueue<LayoutResult> layouts;
  QList<int> lastChoices;
  QList<bool> layoutShownOn;
  int aboutShown = 0;

 private:
  template <typename T>
  static T Take(QQueue<T>& queue, T cancelled) {
    if (queue.isEmpty()) {
      QTest::qFail("editor dialog without a scripted answer", __FILE__, __LINE__);
      return cancelled;
    }
    return queue.dequeue();
  }
};

struct EditorFixture {
  QTemporaryDir root;
  SettingsStore settings{kEditorProgram, root.filePath(QStringLiteral("config"))};
  FakeAudio audio;
  CommandDevice device{audio.Factory()};
  MediaControl media{device, FormatEditorClock, MediaControl::VolumeControl::Absent};
  ScriptedPrompts prompts;
  FakeEditorDialogs dialogs;
  ScriptedSaveQuestion saveQuestion;
  std::unique_ptr<EditorSession> session;
  EditorSession* active = nullptr;  // the session Times() and Texts() read

  EditorFixture() { QDir(root.path()).mkpath(QStringLiteral("music")); }

  QString Path(const QString& name) const { return root.filePath(QStringLiteral("music/") + name); }

  QString Song(const QString& name, qint64 lengthMs) {
    const QString path = Path(name);
    Write(path, "not really audio");
    audio.AddFile(path, lengthMs);
    return path;
  }

  QString Lyrics(const QString& name, const QByteArray& bytes) {
    const QString path = Path(name);
    Write(path, bytes);
    return path;
  }

  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }

  static QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  EditorSession& Make() {
    EditorServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = &prompts;
    services.saveQuestion = &saveQuestion;
    services.dialogs = &dialogs;
    services.programFolder = root.path();
    session = std::make_unique<EditorSession>(services);
    active = session.get();
    return *session;
  }

  EditorSession& Start(const QStringList& arguments = {}, const QStringList& unreadable = {}) {
    Make().Start(arguments, unreadable);
    return *session;
  }

  // Starts through the Player's hand-off with a song of `lengthMs` and the lyrics, playing from 0.
  EditorSession& StartPlaying(const QByteArray& lyrics, qint64 lengthMs = 60'000) {
    const QString song = Song(QStringLiteral("song.mp3"), lengthMs);
    const QString lrc = Lyrics(QStringLiteral("song.lrc"), lyrics);
    settings.WriteSetting(QStringLiteral("GetNameMp3"), song);
    settings.WriteSetting(QStringLiteral("GetNameLrc"), lrc);
    Start({QStringLiteral("/RR")});
    session->RunCommand(21);
    return *session;
  }

  // The times of the lines, -1 for an untagged line.
  QList<qint32> Times() const {
    QList<qint32> times;
    for (const LyricLine& line : active->Document().lines) times.append(line.timed ? line.time : -1);
    return times;
  }
  QStringList Texts() const {
    QStringList texts;
    for (const LyricLine& line : active->Document().lines) texts.append(line.text);
    return texts;
  }
};

}  // namespace lyrova
