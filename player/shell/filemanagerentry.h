#pragma once

#include <QString>
#include <QStringList>

// The file manager's "open with" entry for the Player: a freedesktop desktop entry named
// "用Lyrova打开" in the user's applications folder, listed for audio types, plus the folder's
// MIME index (mimeinfo.cache), through which GLib-based file managers find applications for a
// type. Nothing here shows a message: every function reports success only to its caller.
namespace lyrova {

inline const QString kFileManagerEntryName = QStringLiteral("用Lyrova打开");
inline const QString kFileManagerEntryFile = QStringLiteral("lyrova-open.desktop");

// The audio types the entry is offered for.
QStringList FileManagerMimeTypes();

// One argument of an Exec line: in double quotes, with '"', '`', '$' and '\' escaped by a
// backslash and '%' doubled (the freedesktop desktop-entry rules for quoting Exec arguments).
QString QuoteExecArgument(const QString& argument);
// A value of type string: '\' doubled, line feed, tab and carriage return as \n, \t, \r.
QString EscapeDesktopString(const QString& value);

// The whole desktop entry for the Player at `executablePath` (made absolute).
QString DesktopEntryText(const QString& executablePath);

// <data home>/applications (XDG_DATA_HOME).
QString ApplicationsFolder();
QString FileManagerEntryPath(const QString& applicationsFolder);

// Writes the entry (atomically; unchanged content is not rewritten) and lists it in the folder's
// MIME index. Adding twice leaves one entry with the same content.
bool AddFileManagerEntry(const QString& executablePath, const QString& applicationsFolder);
bool AddFileManagerEntry(const QString& executablePath);

// Deletes the entry and unlists it. True when no entry is left; an entry that does not exist
// is no failure and changes nothing.
bool RemoveFileManagerEntry(const QString& applicationsFolder);
bool RemoveFileManagerEntry();

// The text of a mimeinfo.cache with `desktopId` added to (or removed from) the lists of
// `mimeTypes` in its "[MIME Cache]" group. Every other line is kept as it was.
QString UpdatedMimeCache(const QString& cacheText, const QString& desktopId, const QStringList& mimeTypes,
                         bool add);

}  // namespace lyrova
