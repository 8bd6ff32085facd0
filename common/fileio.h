#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Whole-file reading and atomic whole-file writing: every file the suite reads whole or writes
// (lyrics, text mode, list files, settings, the Scanner's list, desktop entries) goes through
// these two. Failures come back as a description for the caller to put after its own prefix.
namespace lyrova {

// Lyrics and text files are read whole; anything larger than this is refused rather than
// exhausting memory (a lyrics file is a few kilobytes; a 100 MB file still loads).
inline constexpr qint64 kMaxTextFileBytes = qint64(256) * 1024 * 1024;

// Reads the whole file. Only regular files (or symbolic links to one) are read: the file is
// opened without blocking, so a pipe, device or socket fails at once instead of waiting for a
// writer that never comes. Folders, missing and unreadable files, other kinds of file and files
// above kMaxTextFileBytes fail with `error` set to a description ("No such file or directory",
// "Is a directory", NotRegularFileText(), ...).
bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error);

// Replaces the file with `bytes` atomically. The new contents go to a new file beside the old
// one; every write, the flush to the disk and the close are checked, and only when all of them
// succeeded is the new file renamed over the old one. Any failure leaves the old file byte for
// byte as it was and removes the new one. The replacement keeps the permission bits and, where
// the system allows, the owner and group of the file it replaces; a new file gets the mode the
// umask gives. A symbolic link is kept and its target replaced. A full disk, a quota or a
// file-size limit fail with DiskFullText(); other failures with the system's description.
//
// From the first call on the process ignores SIGXFSZ, so that a file-size limit fails the write
// instead of killing the program.
bool WriteWholeFile(const QString& path, QByteArrayView bytes, QString* error);

// "磁盘空间不足，无法保存": the description of a write that ran out of room.
QString DiskFullText();

// The description of a path that names something other than a regular file.
QString NotRegularFileText();

}  // namespace lyrova
