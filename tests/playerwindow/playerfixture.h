#pragma once

// A Player window over the fake audio system, scripted prompts and a private settings store and
// data folder, for tests that run without a screen.
#include "common/clock.h"
#include "common/prompts/scriptedprompts.h"
#include "common/settings.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "player/core/playerhooks.h"
#include "player/window/playerwindow.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace lyrova {

class RecordingHooks : public CompanionHooks, public ChatHooks {
 public:
  bool Sending() const override { return sending; }
  void StopSending() override { sending = false; }
  void SendLyricLine(const LyricLine& line) override { sent.append(line.text); }
  void ShowLinkDialog(QWidget*, const QString& song, const QString&) override {
    linkDialogs.append(song);
  }

  bool sending = false;
  QStringList sent;
  QStringList linkDialogs;
};

struct PlayerFixture {
  QTemporaryDir root;
  SettingsStore settings{kPlayerProgram, root.filePath(QStringLiteral("config"))};
  FakeAudio audio;
  CommandDevice device{audio.Factory()};
  MediaControl media{device, FormatClock};
  ScriptedPrompts prompts;
  RecordingHooks hooks;
  ChatHooks* chat = nullptr;  // when set, chat sending goes here instead of to `hooks`
  Prompts* realPrompts = nullptr;  // when set, the window asks these instead of `prompts`
  QString echoed;
  bool quitAtEnd = false;
  QStringList songFailures;  // reasons the window gave up on its song (only with quitAtEnd)
  QList<QUrl> opened;
  std::function<std::unique_ptr<FollowSource>()> makeFollowSource;  // empty: no follow mode
  std::unique_ptr<PlayerWindow> window;

  QString DataFolder() const { return root.filePath(QStringLiteral("data")); }

  PlayerFixture() {
    QDir(root.path()).mkpath(QStringLiteral("data"));
    QDir(root.path()).mkpath(QStringLiteral("music"));
  }

  // A song file the fake audio system plays with the given length.
  QString Song(const QString& name, qint64 lengthMs) {
    const QString path = root.filePath(QStringLiteral("music/") + name);
    Write(path, "not really audio");
    audio.AddFile(path, lengthMs);
    return path;
  }

  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }

  PlayerWindow& Make() {
    PlayerServices services;
    services.settings = &settings;
    services.media = &media;
    services.prompts = realPrompts != nullptr ? realPrompts : &prompts;
    services.companions = &hooks;
    services.chat = chat != nullptr ? chat : &hooks;
    services.programFolder = root.path();
    services.dataFolder = DataFolder();
    services.layeredAvailable = true;
    services.openUrl = [this](const QUrl& url) {
      opened.append(url);
      return true;
    };
    services.echo = [this](const QString& line) { echoed += line + u'\n'; };
    services.quitAtEnd = quitAtEnd;
    services.makeFollowSource = makeFollowSource;
    services.songFailed = [this](const QString& reason) { songFailures.append(reason); };
    window = std::make_unique<PlayerWindow>(services);
    // Menus are looked at, never run.
    window->popUp = [this](QMenu* menu, const QPoint&) { poppedUp.append(menu); };
    return *window;
  }

  PlayerWindow& Start(const QStringList& arguments = {}, const QStringList& unreadable = {}) {
    Make().Start(arguments, unreadable);
    return *window;
  }

  // Moves the fake clock on and lets the playback tick run once.
  void PlayFor(qint64 ms) {
    audio.Advance(ms);
    window->Session().Wake();
  }

  QList<QMenu*> poppedUp;
};

}  // namespace lyrova
