#pragma once

#include <QString>

// What the suite's programs agree on between them: the names they find each other by, the
// switches one starts another with, the settings keys the Player hands the Editor a song
// through, and the data files they share in the data or program folder. Any of these changed
// in one program alone breaks the others, so they are defined here once.
namespace lyrova {

// The executables, each in the program folder.
inline const QString kPlayerExecutable = QStringLiteral("lyrova");
inline const QString kEditorExecutable = QStringLiteral("Versel");
inline const QString kScannerExecutable = QStringLiteral("Scoutel");
// The chat bridge, started under Wine beside the chat client.
inline const QString kBridgeExecutable = QStringLiteral("lyrova-chatbridge.exe");

// The names of the programs' settings stores.
inline const QString kPlayerProgram = QStringLiteral("Lyrova");
inline const QString kEditorProgram = QStringLiteral("Versel");
inline const QString kScannerProgram = QStringLiteral("Scoutel");

// The Editor started with kEditorHandOffSwitch opens the song and lyrics the Player wrote into
// the Editor's settings under the two hand-off keys.
inline const QString kEditorHandOffSwitch = QStringLiteral("/RR");
inline const QString kHandOffSongKey = QStringLiteral("GetNameMp3");
inline const QString kHandOffLyricsKey = QStringLiteral("GetNameLrc");
// The Scanner started with kScannerReturnSwitch (any letter case) starts the Player again when
// it closes.
inline const QString kScannerReturnSwitch = QStringLiteral("/R");

// The shared data files: the search directories (one a line, written by the Scanner and the
// Player), the song-to-lyrics links, the preset emoticons, the help page and the built-in
// lyrics folder.
inline const QString kSearchDirFileName = QStringLiteral("LrcDir.ini");
inline const QString kLinkFileName = QStringLiteral("LrcLink.ini");
inline const QString kEmoticonFileName = QStringLiteral("emotions.ini");
inline const QString kHelpFileName = QStringLiteral("help.html");
inline const QString kBuiltInLyricsFolder = QStringLiteral("Lrc");

// The mark a system-wide install puts into the program folder: with it the data files above
// live in each user's data folder even where the program folder is writable (for root, or for
// a package unpacked into a folder of one's own), so that running a program never leaves a
// file of one user among the installed ones.
inline const QString kSystemWideMark = QStringLiteral("system-wide");

}  // namespace lyrova
