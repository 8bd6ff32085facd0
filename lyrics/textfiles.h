#pragma once

#include "common/textcodec.h"

#include <QString>

// Whole-file plain text, as the Editor's text mode reads and writes it.
namespace lyrova {

// Sets `text` to every line of the file (split as the LRC reader splits it, so blank lines
// disappear) followed by CR LF; `encoding` (when given) receives the encoding detected. On
// failure `text` is "" and `message` receives "临时文件不能载入," and the system's description.
bool LoadTextFile(const QString& path, QString* text, QString* message = nullptr,
                  TextEncoding* encoding = nullptr);

// Replaces the file atomically with `text` followed by CR LF in `encoding` (UTF-8 with a mark
// when the ANSI code page cannot hold every character). On failure the old file is left as it
// was and `message` receives "不能保存或建立文件 \"", the path, "\"," and the description.
bool SaveTextFile(const QString& path, const QString& text,
                  TextEncoding encoding = TextEncoding::Ansi, QString* message = nullptr);

}  // namespace lyrova
