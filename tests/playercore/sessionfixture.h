#pragma once

// A PlayerSession over the fake audio system and a view that remembers what it was last told,
// for tests that need no widgets at all.
#include "common/clock.h"
#include "common/prompts/scriptedprompts.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "player/core/playersession.h"
#include "player/core/playersettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace lyrova {

// Everything the view shows; two runs that show the same are equal frame by frame.
struct Frame {
  QString current;
  QString next;
  qint32 playedX = -1;
  qint32 nextX = -1;
  bool showSpan = false;
  QString status;
  bool sendOn = false;
  QString hint;  // "" while no shift step is shown
  LineProgress progress;
  friend bool operator==(const Frame&, const Frame&) = default;
};

class FrameView : public PlayerView {
 public:
  void ShowLyricLines(const QString& current, const QString& next) override {
    frame.current = current;
    frame.next = next;
    frame.progress = LineProgress{};
  }
  bool CurrentLineTooWide() const override { return frame.current.size() > wideChars; }
  void ShowLineProgress(const LineProgress& progress) override {
    frame.progress = progress;
    ++progressShown;
  }
  void ShowProgress(const ProgressPicture& picture, const QString& status, bool) override {
    frame.playedX = picture.playedX;
    frame.nextX = picture.nextX;
    frame.showSpan = picture.showSpan;
    frame.status = status;
  }
  void ShowSendState(bool on) override { frame.sendOn = on; }
  void ShowShiftStep(const QString& hint) override { frame.hint = hint; }
  void EndShiftStep() override { frame.hint.clear(); }
  void RequestClose() override { ++closeRequests; }

  Frame frame;
  int closeRequests = 0;
  int progressShown = 0;
  qsizetype wideChars = 1'000'000;  // a current line longer than this is too wide for its label
};

class SessionHooks : public CompanionHooks, public ChatHooks {
 public:
  bool Sending() const override { return sending; }
  void StopSending() override { sending = false; }
  void SendLyricLine(const LyricLine& line) override { sent.append(line.text); }
  void ToggleSending(QWidget*) override { sending = !sending; }
  void EditLyrics(QWidget*, bool, const QString& song, const QString&) override { edited.append(song); }

  QStringList edited;  // the song of every hand-off to an editor
  bool sending = false;
  QStringList sent;
};

struct SessionFixture {
  static constexpr int kBarWidth = 500;

  QTemporaryDir root;
  FakeAudio audio;
  CommandDevice device{audio.Factory()};
  MediaControl media{device, FormatClock};
  ScriptedPrompts prompts;
  SessionHooks hooks;
  FrameView view;
  QString echoed;
  QString echoedWords;
  bool echoWords = false;
  PlayerSettings settings;
  std::unique_ptr<PlayerSession> session;

  SessionFixture() {
    QDir(root.path()).mkpath(QStringLiteral("data"));
    QDir(root.path()).mkpath(QStringLiteral("music"));
  }

  // A song the fake audio system plays with the given length, and its lyrics beside it.
  QString Song(const QString& name, qint64 lengthMs, const QByteArray& lyrics = {}) {
    const QString path = root.filePath(QStringLiteral("music/") + name);
    Write(path, "not really audio");
    audio.AddFile(path, lengthMs);
    if (!lyrics.isEmpty()) Write(path.left(path.lastIndexOf(u'.')) + QStringLiteral(".lrc"), lyrics);
    return path;
  }

  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }

  // A session started on `song` as the window starts one: laid out first, then the command line.
  PlayerSession& Start(const QString& song) {
    PlayerSessionServices services;
    services.media = &media;
    services.prompts = &prompts;
    services.companions = &hooks;
    services.chat = &hooks;
    services.dataFolder = root.filePath(QStringLiteral("data"));
    services.echo = [this](const QString& line) { echoed += line + u'\n'; };
    if (echoWords) services.echoWord = [this](const QString& word) { echoedWords += word + u'\n'; };
    session = std::make_unique<PlayerSession>(services, &view);
    settings.openLrcSel = false;
    session->UseSettings(settings);
    session->SetBarWidth(kBarWidth);
    session->OpenAtStart({song}, {});
    return *session;
  }

  // Moves the fake clock on and lets one wake-up run, as the timer would.
  void PlayFor(qint64 ms) {
    audio.Advance(ms);
    session->Wake();
  }
};

}  // namespace lyrova
