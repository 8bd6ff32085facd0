#pragma once

#include <QString>

namespace lyrova {

// Creates a new empty file in the system temporary folder whose name starts with `prefix`
// and returns its full path; "" when it cannot be created. The caller deletes it.
QString MakeTempFile(const QString& prefix);

// Deletes the file when the path is not empty and names a file, making it writable first;
// every failure is ignored.
void DeleteFileQuiet(const QString& path);

}  // namespace lyrova
