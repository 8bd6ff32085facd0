#pragma once

#include "common/programcontract.h"

#include <QString>

// The Player's side of starting its companions: the Editor with the song and lyrics handed over
// through the Editor's settings, the Scanner to fill the search-directory list, and the plain
// text editor on a lyrics file. Every start goes through the given Launcher with an argument
// list; failures are shown through the given Prompts.
namespace lyrova {

class Launcher;
class Prompts;
class SettingsStore;

struct LaunchContext {
  Launcher& launcher;
  Prompts& prompts;
  const SettingsStore& settings;  // the Player's own store
  QString programFolder;          // where the suite's programs live
};

// Writes the two hand-off keys (even when the Editor is missing), then starts the Editor with
// "/RR": true when it runs. A missing Editor, or one that cannot be started, is reported and
// nothing is started.
bool LaunchEditor(const LaunchContext& context, const QString& song, const QString& lyrics);

// Starts the Scanner with "/R": true when it runs. A missing Scanner, or one that cannot be
// started, is reported and gives false, so the Player keeps running.
bool LaunchScanner(const LaunchContext& context);

// Starts the text editor on `path`; false with the system's description of the failure, the
// editor tried and the setting that names another (see StartChosenTextEditor).
bool StartLyricsTextEditor(const LaunchContext& context, const QString& path, QString* error);

// The two "edit lyrics" menu items for the song `openName` and its found `lyricsPath`: with
// no song, "歌曲未打开"; else the lyrics file (or, when none was found, the one that would sit
// beside the song) goes to the Editor (`withEditor`, then only when it exists) or to the text
// editor (whether it exists or not). True when the Editor was started.
bool EditLyrics(const LaunchContext& context, bool withEditor, const QString& openName,
                const QString& lyricsPath);

}  // namespace lyrova
