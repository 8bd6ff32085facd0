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

// What the tag scan of one line found. Positions index the line as last made text; they stay
// valid when the line is made text anew, since a longer reading starts with the same characters.
struct LineTags {
  QStringView line;  // the part of the line made text
  bool decoded = false;  // `line` is the whole decoded line
  qsizetype firstNew = 0;  // the first document line this line gave
  qsizetype textStart = 0;  // where the text after the last tag starts
  qsizetype tagCount = 0;
  qsizetype firstTagFrom = 0;
  qsizetype firstTagSize = 0;
  bool infoLine = false;  // the last tag was a stored info tag
};

// Reads one file's lines into `out`, in file order; Finish sorts them and applies the offset.
class LrcLineReader {
 public:
  LrcLineReader(LyricsDocument& out, QByteArrayView bytes, TextEncoding encoding, ReaderMode mode)
      : out_(out), reader_(bytes, encoding), mode_(mode), editor_(mode == ReaderMode::Editor),
        asciiTags_(reader_.AsciiIsSelfContained()) {}

  bool ReadAll(QString* error);
  void Finish();

 private:
  bool ScanTags(LineTags& tags, QString* error);
  bool KeptAsHeader(const LineTags& tags);
  QString TakeText(const LineTags& tags, bool timedLine);
  void StoreText(const LineTags& tags, bool timedLine, QString text);

  LyricsDocument& out_;
  RawLineReader reader_;
  const ReaderMode mode_;
  const bool editor_;
  // Tags are read from the line's leading ASCII bytes, and only the text after them is decoded;
  // a line whose tags reach past those bytes (an info tag holding Chinese, say) is decoded whole.
  const bool asciiTags_;
  QString head_;  // the line's ASCII prefix as text, storage reused from line to line
  QString whole_;  // the whole decoded line, when it is needed
  QByteArrayView raw_;
  qsizetype asciiPrefix_ = 0;
  qint32 largestTime_ = 0;  // times from tags are never negative, so 0 also stands for "no lines"
  // An untagged line stays behind the line before it: it takes the earliest time of the last
  // line that gave the document lines (so a note after "[00:10][00:50]chorus" stays after the
  // chorus at 10 s, where a compressed file shows it), or 0 before any such line.
  qint32 anchorTime_ = 0;
  bool inOrder_ = true;
};

// Lines are collected in file order and sorted once at the end (stable, by time), which gives
// the same order as inserting each one after all lines of equal or earlier time.
bool LrcLineReader::ReadAll(QString* error) {
  while (reader_.ReadRawBytes(&raw_, &asciiPrefix_)) {
    LineTags tags;
    if (!ScanTags(tags, error)) return false;
    const bool timedLine = out_.lines.size() > tags.firstNew;
    if (!timedLine && KeptAsHeader(tags)) continue;
    // A long tag scan made the whole ASCII start text; it is not held while the text is decoded.
    if (head_.size() > kTagScanChars) head_ = QString();
    // An untagged line (or one of unknown tags only) goes to the end, at the largest time.
    if (!timedLine && (!editor_ || tags.infoLine)) continue;
    StoreText(tags, timedLine, TakeText(tags, timedLine));
  }
  return true;
}

// Reads the tags at the start of the current line: info tags go into the document, each time
// tag adds a line without text. False when an offset tag overflows.
bool LrcLineReader::ScanTags(LineTags& tags, QString* error) {
  tags.decoded = !asciiTags_;
  if (tags.decoded) {
    whole_ = reader_.Decode(raw_);
    tags.line = whole_;
  } else {
    SetAscii(head_, raw_.first(std::min(asciiPrefix_, kTagScanChars)));
    tags.line = head_;
  }
  tags.firstNew = out_.lines.size();
  qsizetype position = 0;
  for (;;) {
    qsizetype next = -1;
    const QStringView tag = NextTag(tags.line, position, &next);
    if (next < 0) {
      if (!tags.decoded && tags.line.size() < asciiPrefix_ && OpensTag(tags.line, position)) {
        SetAscii(head_, raw_.first(asciiPrefix_));  // a tag goes on past the part made text
        tags.line = head_;
        continue;
      }
      if (!tags.decoded && tags.line.size() < raw_.size() && OpensTag(tags.line, position)) {
        whole_ = reader_.Decode(raw_);  // the same characters up to here, so the scan goes on
        tags.line = whole_;
        tags.decoded = true;
        continue;
      }
      return true;
    }
    position = tags.textStart = next;
    if (tags.tagCount++ == 0) {
      tags.firstTagFrom = tag.data() - tags.line.data();
      tags.firstTagSize = tag.size();
    }
    const InfoTagResult info = ParseInfoTag(out_, tag);
    if (info == InfoTagResult::OffsetOverflow) {
      if (error) *error = QStringLiteral("数值溢出 [") + tag + u']';
      return false;
    }
    tags.infoLine = info == InfoTagResult::Stored;
    if (tags.infoLine) continue;
    const qint32 time = ParseTimeTag(tag);
    if (time < 0) continue;
    out_.lines.append(LyricLine{time, QString(), editor_});
    if (time < largestTime_) inOrder_ = false;
    else largestTime_ = time;
  }
}

// A line of one header tag that is not interpreted is kept as it stands (Editor only); true
// when the line was such a header line, in either mode.
bool LrcLineReader::KeptAsHeader(const LineTags& tags) {
  if (tags.infoLine || tags.tagCount != 1) return false;
  if (!tags.decoded && tags.line.size() != raw_.size()) return false;
  if (!TrimBlanksView(tags.line.sliced(tags.textStart)).isEmpty()) return false;
  HeaderTag header;
  if (!ParseHeaderTag(tags.line.sliced(tags.firstTagFrom, tags.firstTagSize), &header))
    return false;
  if (editor_) {
    header.line = tags.line.toString();
    out_.tags.append(std::move(header));
  }
  return true;
}

// The text after the line's tags, decoded and trimmed. A timed line becomes the anchor of the
// untagged lines after it.
QString LrcLineReader::TakeText(const LineTags& tags, bool timedLine) {
  QString text = tags.decoded ? LineText(whole_, tags.textStart, mode_)
                              : reader_.Decode(TextBytes(raw_.sliced(tags.textStart), mode_));
  if (timedLine) {
    anchorTime_ = out_.lines[tags.firstNew].time;
    for (qsizetype i = tags.firstNew + 1; i < out_.lines.size(); ++i)
      anchorTime_ = std::min(anchorTime_, out_.lines[i].time);
  }
  return text;
}

// Takes the word tags out of the text (Player) and gives it to the lines the tags added, or
// adds it as an untagged line.
void LrcLineReader::StoreText(const LineTags& tags, bool timedLine, QString text) {
  // The Player shows and sends a word-timed text without its word tags (only timed lines
  // reach here in its mode); the Editor keeps them as typed. A "<" is never part of another
  // character where the tags were read from the bytes, so most lines need no look at their text.
  qint32 words = -1;
  if (!editor_ && (tags.decoded || std::memchr(raw_.data() + tags.textStart, '<',
                                               size_t(raw_.size() - tags.textStart)))) {
    QList<LyricWord> lineWords;
    if (TakeWordTags(text, anchorTime_, &lineWords)) {
      words = qint32(out_.words.size());
      out_.words.append(std::move(lineWords));
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
    if (anchorTime_ < largestTime_) inOrder_ = false;
    out_.lines.append(LyricLine{anchorTime_, std::move(text), false});
    return;
  }
  const qsizetype last = out_.lines.size() - 1;
  for (qsizetype i = tags.firstNew; i <= last; ++i) out_.lines[i].words = words;
  for (qsizetype i = tags.firstNew; i < last; ++i) out_.lines[i].text = text;
  out_.lines[last].text = std::move(text);
}

void LrcLineReader::Finish() {
  if (!inOrder_) SortByTime(out_.lines);
  // The offset is applied once, wherever its tag stood. Both floors keep the order.
  if (!out_.lines.isEmpty() && out_.offset != 0) {
    const qint64 lowest = editor_ ? kEditorLowestTime : 0;
    for (LyricLine& l : out_.lines)
      l.time = qint32(std::max(qint64(l.time) - out_.offset, lowest));
  }
  if (!editor_ && !out_.lines.isEmpty() && out_.lines.first().time > 0)
    out_.lines.prepend(LyricLine{0, QString(), false});
}

}  // namespace

bool ReadLrcBytes(LyricsDocument& doc, QByteArrayView bytes, ReaderMode mode, QString* error) {
  LyricsDocument out;
  out.encoding = DetectEncoding(bytes);
  TextEncoding lineEncoding = out.encoding;
  QByteArray converted;
  bytes = ByteLines(bytes.sliced(ByteOrderMarkLength(out.encoding)), &lineEncoding, &converted);
  out.lines.reserve(EstimatedLineCount(bytes));
  LrcLineReader reader(out, bytes, lineEncoding, mode);
  if (!reader.ReadAll(error)) return false;
  reader.Finish();
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
