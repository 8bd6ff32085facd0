// playershots OUTPUT_DIR: renders the Player window, over the fake audio system and the demo
// lyrics, in its main states (no song, a song without lyrics, playing with lyrics, the chat strip
// open, the narrowest window, each pop-up menu open, a word-timed line half sung, an original
// with its translation, a line too wide scrolled) and its dialogs (decoration, link, search folders) to PNG files in
// OUTPUT_DIR. Runs on any Qt platform; offscreen needs no display.
#include "common/clock.h"
#include "common/prompts/scriptedprompts.h"
#include "common/qttranslations.h"
#include "common/settings.h"
#include "media/commanddevice.h"
#include "media/fakeaudio.h"
#include "media/mediacontrol.h"
#include "player/chat/decorationdialog.h"
#include "player/chat/emoticons.h"
#include "player/dialogs/linkdialog.h"
#include "player/dialogs/searchdirdialog.h"
#include "player/lookup/lyricslookup.h"
#include "player/window/playerwindow.h"
#include "tools/shots/savepicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace lyrova;

namespace {

using shots::Save;

void SaveMenu(QMenu* menu, const QString& folder, const QString& name) {
  menu->popup(QPoint(0, 0));
  QApplication::processEvents();
  Save(menu, folder, name);
  menu->hide();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallQtChinese(app);
  if (argc < 2) {
    std::fprintf(stderr, "usage: playershots OUTPUT_DIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  QTemporaryDir root;
  const QString music = root.filePath(QStringLiteral("music"));
  QDir().mkpath(music);
  QDir().mkpath(root.filePath(QStringLiteral("data")));
  const QString demoLyrics = QStringLiteral(LYROVA_SOURCE_DIR "/demo/demo.lrc");
  const QString song = music + QStringLiteral("/夜航的灯.ogg");
  const QString bare = music + QStringLiteral("/没有歌词的歌.mp3");
  for (const QString& path : {song, bare}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 1;
  }
  QFile::copy(demoLyrics, music + QStringLiteral("/夜航的灯.lrc"));

  FakeAudio audio;
  audio.AddFile(song, 57'800);
  audio.AddFile(bare, 200'000);
  CommandDevice device(audio.Factory());
  MediaControl media(device, FormatClock);
  const SettingsStore settings(kPlayerProgram, root.filePath(QStringLiteral("config")));
  ScriptedPrompts prompts;
  PlayerServices services;
  services.settings = &settings;
  services.media = &media;
  services.prompts = &prompts;
  services.programFolder = root.path();
  services.dataFolder = root.filePath(QStringLiteral("data"));

  {
    PlayerWindow window(services);
    window.Start({});
    Save(&window, out, QStringLiteral("1-no-song"));
    window.OpenDroppedFile(bare);
    window.RunButton(PlayerButton::Stop);
    Save(&window, out, QStringLiteral("2-song-without-lyrics"));
    window.OpenDroppedFile(song);
    audio.Advance(19'000);
    window.Session().Wake();
    Save(&window, out, QStringLiteral("3-playing-with-lyrics"));
    const int designWidth = window.width();
    window.resize(PlayerWindow::kMinWidthPixels, window.height());
    Save(&window, out, QStringLiteral("3b-playing-at-minimum-width"));
    window.ShowStatusNote(QStringLiteral("此桌面不支持置顶、透明和拖动窗口"));
    Save(&window, out, QStringLiteral("3c-long-note-at-minimum-width"));
    window.Session().Wake();
    window.resize(designWidth, window.height());
    window.RunButton(PlayerButton::ChatStrip);
    window.ChatInput()->setText(QStringLiteral("在这里聊天"));
    Save(&window, out, QStringLiteral("4-chat-strip-open"));
    window.RunButton(PlayerButton::ChatStrip);
    window.SetOffsetMenus(1'500);
    SaveMenu(window.LrcAdvance(), out, QStringLiteral("5-menu-shift"));
    SaveMenu(window.LA2(), out, QStringLiteral("5b-menu-shift-advance"));
    window.SetFontCaption();
    SaveMenu(window.SetMenu(), out, QStringLiteral("6-menu-settings"));
    SaveMenu(window.HelpMenu(), out, QStringLiteral("7-menu-help"));
    SaveMenu(window.ChatoraSel(), out, QStringLiteral("8-menu-send-target"));
    window.close();
  }
  {
    // Word timing, an original with its translation and a line too wide for the strip.
    const QString sung = music + QStringLiteral("/逐字.ogg");
    QFile file(sung);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.close();
    QFile lyrics(music + QStringLiteral("/逐字.lrc"));
    if (!lyrics.open(QIODevice::WriteOnly)) return 1;
    lyrics.write(QStringLiteral("[00:01.00]<00:01.00>夜<00:01.40>航<00:01.80>的<00:02.20>灯 <00:02.60>照<00:03.00>亮<00:03.40>归<00:03.80>途<00:04.20>\n"
                                "[00:05.00]风吹过港口的时候\n[00:05.00]When the wind crosses the harbour\n"
                                "[00:09.00]我们把所有没说出口的话都写进了这一首很长很长的歌里，一句接着一句，直到天亮也唱不完\n"
                                "[00:15.00]尾声\n").toUtf8());
    lyrics.close();
    audio.AddFile(sung, 20'000);
    PlayerWindow window(services);
    window.Start({});
    window.OpenDroppedFile(sung);
    audio.Advance(2'400);
    window.Session().Wake();
    Save(&window, out, QStringLiteral("12-word-timed-half-sung"));
    audio.Advance(3'000);
    window.Session().Wake();
    Save(&window, out, QStringLiteral("13-original-with-translation"));
    audio.Advance(6'000);
    window.Session().Wake();
    Save(&window, out, QStringLiteral("14-long-line-scrolled"));
    window.close();
  }
  {
    const QList<Emoticon> presets =
        ReadEmoticons(QStringLiteral(LYROVA_SOURCE_DIR "/player/chat/emotions.ini"));
    DecorationDialog dialog(nullptr, presets, 0, QStringLiteral("♪ "), QStringLiteral(" ♪"));
    dialog.show();
    Save(&dialog, out, QStringLiteral("9-decoration-dialog"));
  }
  {
    // A song without lyrics beside near-named lyrics files, and two search folders.
    for (const QString& name : {QStringLiteral("没有歌词的歌(现场版).lrc"), QStringLiteral("没有歌词.lrc"),
                                QStringLiteral("别的歌.lrc")}) {
      QFile file(music + u'/' + name);
      if (!file.open(QIODevice::WriteOnly)) return 1;
    }
    QFile dirs(root.filePath(QStringLiteral("data/LrcDir.ini")));
    if (dirs.open(QIODevice::WriteOnly)) dirs.write((music + u'\n' + root.path() + u'\n').toUtf8());
    dirs.close();
    const LyricsLookup lookup(root.filePath(QStringLiteral("data")));
    LinkDialog link(prompts, lookup, {});
    link.Open(bare, QString());
    link.show();
    Save(&link, out, QStringLiteral("10-link-dialog"));
    link.hide();
    SearchDirDialog searchDirs(prompts, lookup, [](const QUrl&) { return true; });
    searchDirs.Open();
    searchDirs.show();
    Save(&searchDirs, out, QStringLiteral("11-search-dir-dialog"));
  }
  return 0;
}
