#include "lyrics/lrcreader.h"

#include "common/fileio.h"
#include "common/paths.h"
#include "lyrics/lrctags.h"
#include "lyrics/rawlines.h"
#include "lyrics/wordtags.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace lyrova {
namespace {

constexpr qint32 kEditorLowestTime = -5999999;

// How much of a line's ASCII start is first made text for reading its tags: far more than the
// tags of any real line, while a line of megabytes is not copied whole just to find its tags.
constexpr qsizetype kTagScanChars = 1024;

// From this length on, a decoded text is shrunk in its own block rather than copied: such lines
// are rare, so the free end left behind costs little, while a copy would hold the text twice.
constexpr qsizetype kShrinkInPlaceChars = 64 * 1024;

// The stored text of a decoded line whose text starts at `from`; shares `line` when nothing is cut.
// A long line is instead cut in its own storage and handed over, leaving `line` empty, so that
// it is never held twice.
QString LineText(QString& line, qsizetype from, ReaderMode mode) {
  const QStringView rest = QStringView(line).sliced(from);
  qsizetype first = 0;
  qsizetype last = rest.size();
  while (first < last && rest[first] == u' ') ++first;
  while (last > first && rest[last - 1] == u' ') --last;
  // The Editor keeps a text of blanks as it is; the Player always trims.
  if (first == last && mode == ReaderMode::Editor) first = 0, last = rest.size();
  const bool uncut = from == 0 && first == 0 && last == rest.size();
  if (line.size() < kShrinkInPlaceChars) return uncut ? line : rest.sliced(first, last - first).toString();
  if (!uncut) {
    QChar* chars = line.data();
    std::memmove(chars, chars + from + first, size_t(last - first) * sizeof(QChar));
    line.truncate(last - first);
  }
  return std::exchange(line, QString());
}

// The same from the raw bytes of the text. Blanks are single bytes that are never part of a
// multi-byte character, so they can be trimmed before decoding.
QByteArrayView TextBytes(QByteArrayView bytes, ReaderMode mode) {
  qsizetype first = 0;
  qsizetype last = bytes.size();
  while (first < last && bytes[first] == ' ') ++first;
  while (last > first && bytes[last - 1] == ' ') --last;
  if (first == last && mode == ReaderMode::Editor) return bytes;
  return bytes.sliced(first, last - first);
}

// Whether a "[" stands at `from`, after blanks.
bool OpensTag(QStringView line, qsizetype from) {
  while (from < line.size() && line[from] == u' ') ++from;
  return from < line.size() && line[from] == u'[';
}

// `text` = the Latin-1 reading of `bytes` (plain ASCII), reusing its storage.
void SetAscii(QString& text, QByteArrayView bytes) {
  text.resize(bytes.size());
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) out[i] = QChar(char16_t(static_cast<uchar>(bytes[i])));
}

// About one line per line feed, but never more than one per 16 bytes, so that a file made of
// line breaks alone does not reserve far more than it needs.
qsizetype EstimatedLineCount(QByteArrayView bytes) {
  const qsizetype most = bytes.size() / 16 + 1;
  qsizetype lines = 1;
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (lines < most && p < end &&
         (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p))))) {
    ++lines;
    ++p;
  }
  return lines;
}

}  // namespace

bool ReadLrcBytes(LyricsDocument& doc, QByteArrayView bytes, ReaderMode mode, QString* error) {
  const bool editor = mode == ReaderMode::Editor;
  LyricsDocument out;
  out.encoding = DetectEncoding(bytes);
  TextEncoding lineEncoding = out.encoding;
  QByteArray converted;
  bytes = ByteLines(bytes.sliced(ByteOrderMarkLength(out.encoding)), &lineEncoding, &converted);
  out.lines.reserve(EstimatedLineCount(bytes));

  // Lines are collected in file order and sorted once at the end (stable, by time), which gives
  // the same order as inserting each one after all lines of equal or earlier time. Tags are read
  // from the line's leading ASCII bytes, and only the text after them is decoded; a line whose
  // tags reach past those bytes (an info tag holding Chinese, say) is decoded whole.
  RawLineReader reader(bytes, lineEncoding);
  const bool asciiTags = reader.AsciiIsSelfContained();
  QString head;  // the line's ASCII prefix as text, storage reused from line to line
  QString whole;  // the whole decoded line, when it is needed
  QByteArrayView raw;
  qsizetype asciiPrefix = 0;
  qint32 largestTime = 0;  // times from tags are never negative, so 0 also stands for "no lines"
  // An untagged line stays behind the line before it: it takes the earliest time of the last
  // line that gave the document lines (so a note after "[00:10][00:50]chorus" stays after the
  // chorus at 10 s, where a compressed file shows it), or 0 before any such line.
  qint32 anchorTime = 0;
  bool inOrder = true;
  while (reader.ReadRawBytes(&raw, &asciiPrefix)) {
    bool decoded = !asciiTags;
    QStringView line;
    if (decoded) {
      whole = reader.Decode(raw);
      line = whole;
    } else {
      SetAscii(head, raw.first(std::min(asciiPrefix, kTagScanChars)));
      line = head;
    }
    const qsizetype firstNew = out.lines.size();
    qsizetype position = 0;
    qsizetype textStart = 0;
    bool infoLine = false;
    qsizetype tagCount = 0;
    // Where the first tag stands in `line`: positions stay valid when the line is made text anew.
    qsizetype firstTagFrom = 0;
    qsizetype firstTagSize = 0;
    for (;;) {
      qsizetype next = -1;
      const QStringView tag = NextTag(line, position, &next);
      if (next < 0) {
        if (!decoded && line.size() < asciiPrefix && OpensTag(line, position)) {
          SetAscii(head, raw.first(asciiPrefix));  // a tag goes on past the part made text
          line = head;
          continue;
        }
        if (!decoded && line.size() < raw.size() && OpensTag(line, position)) {
          whole = reader.Decode(raw);  // the same characters up to here, so the scan goes on
          line = whole;
          decoded = true;
          continue;
        }
        break;
      }
      position = textStart = next;
      if (tagCount++ == 0) {
        firstTagFrom = tag.data() - line.data();
        firstTagSize = tag.size();
      }
      const InfoTagResult info = ParseInfoTag(out, tag);
      if (info == InfoTagResult::OffsetOverflow) {
        if (error) *error = QStringLiteral("数值溢出 [") + tag + u']';
        return false;
      }
      infoLine = info == InfoTagResult::Stored;
      if (infoLine) continue;
      const qint32 time = ParseTimeTag(tag);
      if (time < 0) continue;
      out.lines.append(LyricLine{time, QString(), editor});
      if (time < largestTime) inOrder = false;
      else largestTime = time;
    }
    const bool timedLine = out.lines.size() > firstNew;
    // A line of one header tag that is not interpreted is kept as it stands (Editor only).
    if (!timedLine && !infoLine && tagCount == 1 && (decoded || line.size() == raw.size()) &&
        TrimBlanksView(line.sliced(textStart)).isEmpty()) {
      HeaderTag header;
      if (ParseHeaderTag(line.sliced(firstTagFrom, firstTagSize), &header)) {
        if (editor) {
          header.line = line.toString();
          out.tags.append(std::move(header));
        }
        continue;
      }
    }
    // A long tag scan made the whole ASCII start text; it is not held while the text is decoded.
    if (head.size() > kTagScanChars) head = QString();
    // An untagged line (or one of unknown tags only) goes to the end, at the largest time.
    if (!timedLine && (!editor || infoLine)) continue;
    QString text = decoded ? LineText(whole, textStart, mode)
                           : reader.Decode(TextBytes(raw.sliced(textStart), mode));
    if (timedLine) {
      anchorTime = out.lines[firstNew].time;
      for (qsizetype i = firstNew + 1; i < out.lines.size(); ++i)
        anchorTime = std::min(anchorTime, out.lines[i].time);
    }
    // The Player shows and sends a word-timed text without its word tags (only timed lines
    // reach here in its mode); the Editor keeps them as typed. A "<" is never part of another
    // character where the tags were read from the bytes, so most lines need no look at their text.
    qint32 words = -1;
    if (!editor && (decoded || std::memchr(raw.data() + textStart, '<', size_t(raw.size() - textStart)))) {
      QList<LyricWord> lineWords;
      if (TakeWordTags(text, anchorTime, &lineWords)) {
        words = qint32(out.words.size());
        out.words.append(std::move(lineWords));
      }
    }
    // Decoders allocate room for the longest possible result. The document keeps an exact copy,
    // and the decoder's block is freed at once for the next line to reuse (shrinking it in place
    // would leave a fragment behind for every line). A very long text is shrunk instead, so that
    // it is not held twice.
    if (text.capacity() > text.size()) {
      if (text.size() >= kShrinkInPlaceChars) text.squeeze();
      else text = QStringView(text).toString();
    }
    if (!timedLine) {
      if (anchorTime < largestTime) inOrder = false;
      out.lines.append(LyricLine{anchorTime, std::move(text), false});
      continue;
    }
    const qsizetype last = out.lines.size() - 1;
    for (qsizetype i = firstNew; i <= last; ++i) out.lines[i].words = words;
    for (qsizetype i = firstNew; i < last; ++i) out.lines[i].text = text;
    out.lines[last].text = std::move(text);
  }
  if (!inOrder) SortByTime(out.lines);

  // The offset is applied once, wherever its tag stood. Both floors keep the order.
  if (!out.lines.isEmpty() && out.offset != 0) {
    const qint64 lowest = editor ? kEditorLowestTime : 0;
    for (LyricLine& l : out.lines)
      l.time = qint32(std::max(qint64(l.time) - out.offset, lowest));
  }
  if (!editor && !out.lines.isEmpty() && out.lines.first().time > 0)
    out.lines.prepend(LyricLine{0, QString(), false});

  doc = std::move(out);
  return true;
}

bool LoadLrc(LyricsDocument& doc, const QString& path, ReaderMode mode, QString* message) {
  if (message) message->clear();
  // The Player's document is emptied by a failure anyway; emptied first, the old lines are not
  // held beside the new ones while the file is read.
  if (mode == ReaderMode::Player) ClearLyrics(doc);
  QString error;
  QByteArray bytes;
  if (ReadWholeFile(path, &bytes, &error) && ReadLrcBytes(doc, bytes, mode, &error)) return true;
  if (mode == ReaderMode::Player) ClearLyrics(doc);
  else if (message) *message = QStringLiteral("装入歌词时遇到错误,") + error;
  return false;
}

}  // namespace lyrova
