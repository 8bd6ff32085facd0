#pragma once

#include <QString>
#include <QStringView>

// Path and file-name helpers shared by every program. They work on "/" paths; a ":" is an
// ordinary character. "Trimming" means removing leading and trailing blanks (U+0020) only,
// as the stored list files and typed paths expect. None of these functions fails.
namespace lyrova {

// Removes leading and trailing blanks, and nothing else (tabs and line breaks stay).
QString TrimBlanks(const QString& text);
QStringView TrimBlanksView(QStringView text);

// folder + name, with one "/" inserted unless the folder already ends in "/".
QString JoinPath(const QString& folder, const QString& name);

// True when the path names an existing entry that is not a folder.
bool FileExists(const QString& path);

// True when the path names an existing folder.
bool DirExists(const QString& path);

// Trims blanks; a text that then starts and ends with a double quote loses those two quotes.
QString Unquote(const QString& text);

// Unquote, with the inside trimmed again (the Editor's command-line form).
QString UnquoteTrimmed(const QString& text);

// The folder part of the trimmed path, up to and including its last "/"; "" when there is none.
QString DirectoryPart(const QString& path);

// The trimmed path after its last "/"; the whole trimmed path when there is none.
QString FileNamePart(const QString& path);

// The trimmed path without its extension: the last "." of the file-name part and what
// follows it are removed. A "." inside a folder name is not an extension.
QString StripExtension(const QString& path);

// The text after the last "." of the file-name part; "" when there is none.
QString PathExtension(const QString& path);

// The lyrics name proposed for an audio file: "" for an empty path, else the path with its
// extension replaced by ".lrc".
QString LrcNameFor(const QString& audioPath);

// True when the extension is "lrc" or "txt" in any letter case.
bool IsLyricsOrTextFile(const QString& path);

}  // namespace lyrova
