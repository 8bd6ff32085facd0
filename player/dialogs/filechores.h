#pragma once

#include <QString>

// The file operations the link dialog offers on a lyrics file. Both report failure with the
// system's description of the error in `error`.
namespace lyrova {

// Moves the file to the desktop's trash, so that a slip can be undone there. Only where no
// trash can take the file (no trash folder on its file system, say) is it deleted for good.
bool TrashOrDeleteFile(const QString& path, QString* error);

// Gives `from` the name `to`. Never replaces an existing file: renaming onto an existing name
// fails, the existing file is kept and `error` says why. The check and the rename are one
// step where the file system allows it, so a file appearing meanwhile is not overwritten either.
bool RenameWithoutReplacing(const QString& from, const QString& to, QString* error);

}  // namespace lyrova
