#pragma once

#include <QString>

// Where the programs and their data files live. The programs find each other in the program
// folder (the folder of the running executable). Their data files ("LrcDir.ini", "LrcLink.ini",
// "emotions.ini", the help file, the "Lrc" folder) live there too while it is writable; under
// a system-wide install (a folder not writable, or marked as shared by all users) every program
// uses one per-user data folder instead.
namespace lyrova {

// The folder of the running executable, without a trailing "/".
QString ProgramFolder();

// The data folder for this run: ProgramFolder() when writable and not marked as a system-wide
// install (kSystemWideMark), else UserDataFolder().
QString DataFolder();

// The per-user data folder shared by all programs of the suite ("<data home>/Lyrova").
QString UserDataFolder();

// The rule itself: `programFolder` when it is a writable folder without the system-wide mark,
// else `userFolder`.
QString ChooseDataFolder(const QString& programFolder, const QString& userFolder);

}  // namespace lyrova
