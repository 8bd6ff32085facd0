#pragma once

#include "common/settings.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The Player's settings: keys, defaults and how each is read. Every key other than the five
// written at shutdown is written the moment the user changes it.
namespace lyrova::playerkeys {
inline const QString kOpenDir = QStringLiteral("OpenDir");
inline const QString kOpenName = QStringLiteral("OpenName");
inline const QString kVolume = QStringLiteral("Volume");
inline const QString kSendType = QStringLiteral("SendType");
inline const QString kTransparence = QStringLiteral("Transparence");
inline const QString kDressHome = QStringLiteral("DressHome");
inline const QString kDressEnd = QStringLiteral("DressEnd");
inline const QString kOpenLrcSel = QStringLiteral("OpenLrcSel");
inline const QString kPlayLoop = QStringLiteral("PlayLoop");
inline const QString kAutoPlay = QStringLiteral("AutoPlay");
inline const QString kSkipUrl = QStringLiteral("SkipUrl");
inline const QString kChatTest = QStringLiteral("ChatTest");
inline const QString kWidth = QStringLiteral("Width");
inline const QString kFontName = QStringLiteral("FontName");
inline const QString kFontSize = QStringLiteral("FontSize");
inline const QString kBilingual = QStringLiteral("Bilingual");
inline const QString kLyricColors = QStringLiteral("LyricColors");
// Follow mode ("跟随其他播放器") and the player pinned in "跟随的播放器" (its bus name; "" automatic).
inline const QString kFollowMode = QStringLiteral("FollowMode");
inline const QString kFollowPlayer = QStringLiteral("FollowPlayer");
// The plain text editor for lyrics and the emoticon list (see ChooseTextEditor); may be empty.
inline const QString kTextEditor = QStringLiteral("TextEditor");
}  // namespace lyrova::playerkeys

namespace lyrova {

class Launcher;

inline const QString kDefaultFontName = QStringLiteral("宋体");

struct PlayerSettings {
  QString openDir;
  QString openName;
  qint32 volume = 750;      // 0..1000
  qint32 sendType = 0;      // 0..2
  qint32 transparency = 3;  // 0..14
  QString dressHome;
  QString dressEnd;
  bool openLrcSel = true;
  bool playLoop = false;
  bool autoPlay = true;
  bool skipUrl = false;
  bool chatTest = true;
  bool bilingual = true;     // lines of one time shown together
  qint32 lyricColors = 0;    // the lyric colour scheme, 0..kLyricColorSchemeCount - 1
  bool followMode = false;   // show what another player plays
  QString followPlayer;      // the player pinned to follow; "" automatic
  qint32 widthTwips = 0;
  QString fontName = kDefaultFontName;
  // The stored lyric font size when it is usable (8 to 48 points); otherwise the design size stays.
  std::optional<double> fontSize;
};

// Reads every setting with its default and limits. `programFolder` is the default of
// "OpenDir"; `designWidthTwips` the default of "Width".
PlayerSettings ReadPlayerSettings(const SettingsStore& store, const QString& programFolder,
                                  qint32 designWidthTwips);

// The font size text as stored ("FontSize", default "11") when it is from 8 to 48.
std::optional<double> UsableFontSize(const QString& stored);

// The text editor command for lyrics and the emoticon list: the "TextEditor" setting, else the
// one ChooseTextEditor finds.
QString ChosenTextEditor(const SettingsStore& store);

// Starts the text editor ChosenTextEditor names on `path`. On failure `error` holds the
// system's description and then, on a line of its own, the editor that was tried and the
// setting in `store`'s file that names another.
bool StartChosenTextEditor(Launcher& launcher, const SettingsStore& store, const QString& path,
                           QString* error);

// What the Player writes when its window closes.
void WriteShutdownSettings(const SettingsStore& store, qint32 widthTwips, qint32 volume,
                           qint32 sendType, const QString& openDir, const QString& openName);

}  // namespace lyrova
