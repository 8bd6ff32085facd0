#pragma once

#include "common/textcodec.h"

#include <QString>
#include <QStringList>

#include <optional>

// Whole-file line lists: the suite's list files ("LrcDir.ini", "LrcLink.ini", "emotions.ini").
// Reading splits at every run of CR, LF and NUL bytes (so blank lines vanish; a file that starts
// with a break yields one empty first line) and decodes with the suite's codec. Writing ends every
// line with CR LF and replaces the file atomically.
namespace lyrova {

// The file's lines, or nullopt when it cannot be opened or read or is not a regular file (see
// ReadWholeFile). `found` receives the encoding.
std::optional<QStringList> ReadTextLines(const QString& path, TextEncoding* found = nullptr);

// The lines of already-read file bytes (without any byte-order mark handling).
QStringList SplitTextLines(QByteArrayView bytes, TextEncoding encoding);

// Replaces the file with `lines`, each followed by CR LF. A failed write leaves the previous file
// byte for byte as it was; `error` (when given) receives the description (see WriteWholeFile).
bool WriteTextLines(const QString& path, const QStringList& lines,
                    TextEncoding encoding = TextEncoding::Ansi, QString* error = nullptr);

}  // namespace lyrova
