#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Whole-file reading and atomic whole-file writing for the lyrics and text files. Failures come
// back as the system's description of the error, for the caller to put after its own prefix.
namespace lyrova {

// Lyrics and text files are read whole; anything larger than this is refused rather than
// exhausting memory (a lyrics file is a few kilobytes; a 100 MB file still loads).
inline constexpr qint64 kMaxTextFileBytes = qint64(256) * 1024 * 1024;

// Reads the whole file. Folders, missing and unreadable files and files above
// kMaxTextFileBytes fail with `error` set to the system's description (for example "No such
// file or directory", "Is a directory"). Devices and pipes are read up to the same limit.
bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error);

// Replaces the file with `bytes` atomically: the new contents are written to a temporary file
// beside it and renamed over it only when every write succeeded, so a failure leaves the old
// file exactly as it was.
bool WriteWholeFile(const QString& path, QByteArrayView bytes, QString* error);

}  // namespace lyrova
