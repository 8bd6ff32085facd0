// Feeds arbitrary bytes to the emoticon list reader: every accepted entry must have a name that
// is not only blanks, a non-empty code, and together with "=" give back a line of the file.
#include "common/paths.h"
#include "common/textcodec.h"
#include "common/textlines.h"
#include "player/chat/emoticons.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const lyrova::TextEncoding encoding = lyrova::DetectEncoding(bytes);
  const QStringList lines =
      lyrova::SplitTextLines(bytes.sliced(lyrova::ByteOrderMarkLength(encoding)), encoding);
  const QList<lyrova::Emoticon> entries = lyrova::ParseEmoticons(lines);
  if (entries.size() > lines.size()) std::abort();
  qsizetype next = 0;
  for (const lyrova::Emoticon& entry : entries) {
    if (lyrova::TrimBlanks(entry.name).isEmpty()) std::abort();
    if (entry.name.contains(u'=') || entry.code.isEmpty()) std::abort();
    // Entries come in file order, each from a line of its own.
    const QString line = entry.name + u'=' + entry.code;
    while (next < lines.size() && lines[next] != line) ++next;
    if (next == lines.size()) std::abort();
    ++next;
  }
  // The caret insertion never loses text, wherever the caret and selection stand.
  if (!entries.isEmpty() && !lines.isEmpty()) {
    const QString& text = lines.first();
    const int start = int(size % 7) - 2;
    const int length = int(size % 5) - 1;
    const lyrova::CaretEdit edit = lyrova::InsertAtCaret(text, start, length, entries.first().code);
    if (edit.caret < 0 || edit.caret > edit.text.size()) std::abort();
    if (edit.text.size() < entries.first().code.size()) std::abort();
    if (edit.text.mid(edit.caret - entries.first().code.size(), entries.first().code.size()) !=
        entries.first().code)
      std::abort();
  }
  return 0;
}
