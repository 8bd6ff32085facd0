#include "lyrics/lrcwriter.h"

#include "common/paths.h"
#include "common/fileio.h"
#include "lyrics/timetext.h"

#include <QHash>

#include <algorithm>
#include <limits>

namespace lyrova {
namespace {

constexpr qint32 kTagLimitMs = 6000000;
// The reader never produces an earlier time; a line below it is written as if at it, so that
// the offset written stays readable and does not push every other line out of the tag range.
constexpr qint32 kLowestWrittenTime = -5999999;

const QString kLineEnd = QStringLiteral("\r\n");

// The reader splits lines at CR, LF and NUL: inside one written line they become blanks.
void AppendFlat(QString& out, const QString& text) {
  const qsizetype from = out.size();
  out += text;
  for (qsizetype i = from; i < out.size(); ++i) {
    const char16_t c = out[i].unicode();
    if (c == u'\r' || c == u'\n' || c == u'\0') out[i] = u' ';
  }
}

void AppendInfo(QString& out, QStringView key, const QString& value) {
  if (TrimBlanks(value).isEmpty()) return;
  out += u'[';
  out += key;
  out += u':';
  AppendFlat(out, value);
  out += u']';
  out += kLineEnd;
}

}  // namespace

QString LrcText(const LyricsDocument& doc, bool compressed) {
  QString out;
  qsizetype estimate = 64;
  for (const LyricLine& line : doc.lines) estimate += line.text.size() + 12;
  out.reserve(estimate);

  AppendInfo(out, u"ti", doc.title);
  AppendInfo(out, u"ar", doc.artist);
  AppendInfo(out, u"al", doc.album);
  AppendInfo(out, u"by", doc.by);

  qint32 lowest = 0;
  for (const LyricLine& line : doc.lines) lowest = std::min(lowest, line.time);
  const qint32 shift = -std::max(lowest, kLowestWrittenTime);
  if (shift > 0) out += QStringLiteral("[offset:") + QString::number(shift) + u']' + kLineEnd;
  for (const HeaderTag& tag : doc.tags) {
    AppendFlat(out, tag.line);
    out += kLineEnd;
  }

  const auto shifted = [&](const LyricLine& line) {
    return qint64(std::max(line.time, kLowestWrittenTime)) + shift;
  };
  const auto tagged = [&](const LyricLine& line) {
    return line.timed && shifted(line) < kTagLimitMs;
  };
  const auto appendTag = [&](const LyricLine& line) {
    out += u'[';
    out += FormatTimeTag(qint32(shifted(line)), true, true);
    out += u']';
  };

  if (!compressed) {
    for (const LyricLine& line : doc.lines) {
      if (tagged(line)) appendTag(line);
      AppendFlat(out, line.text);
      out += kLineEnd;
    }
    return out;
  }

  // Compressed: each distinct text of the tagged lines is written once, at its first line, with
  // the tags of all its lines in list order. Untagged lines stand alone at their places, and the
  // reader puts one back behind the line written before it, at that line's earliest time. So a
  // line is not folded where that would move an untagged line: when an untagged line follows it
  // (folded, it would leave the untagged line behind another line), or when its text's first line
  // is followed by an untagged line and it has that first line's time (folded, it would come
  // back in front of the untagged line).
  QList<QList<qsizetype>> groups;  // per written tagged line: the document lines it carries
  QList<qsizetype> order;          // per written line: a group index, or ~line for untagged
  QHash<QString, qsizetype> groupOfText;
  groupOfText.reserve(doc.count());
  order.reserve(doc.count());
  for (qsizetype i = 0; i < doc.count(); ++i) {
    const LyricLine& line = doc.lines[i];
    if (!tagged(line)) {
      order.append(~i);
      continue;
    }
    const auto found = groupOfText.constFind(line.text);
    const auto anchors = [&](qsizetype index) { return index + 1 < doc.count() && !tagged(doc.lines[index + 1]); };
    if (found != groupOfText.cend()) {
      const qsizetype first = groups[*found].first();
      if (!anchors(i) && !(anchors(first) && doc.lines[first].time == line.time)) {
        groups[*found].append(i);
        continue;
      }
      order.append(groups.size());
      groups.append(QList<qsizetype>{i});
      continue;
    }
    groupOfText.insert(line.text, groups.size());
    order.append(groups.size());
    groups.append(QList<qsizetype>{i});
  }
  for (const qsizetype entry : order) {
    if (entry < 0) {
      AppendFlat(out, doc.lines[~entry].text);
    } else {
      const QList<qsizetype>& members = groups[entry];
      for (const qsizetype i : members) appendTag(doc.lines[i]);
      AppendFlat(out, doc.lines[members.first()].text);
    }
    out += kLineEnd;
  }
  return out;
}

QByteArray LrcFileBytes(const LyricsDocument& doc, bool compressed, TextEncoding* used) {
  return EncodeFile(LrcText(doc, compressed), doc.encoding, used);
}

bool SaveLrc(const LyricsDocument& doc, const QString& path, bool compressed, QString* message,
             TextEncoding* used) {
  if (message) message->clear();
  TextEncoding written = doc.encoding;
  const QByteArray bytes = LrcFileBytes(doc, compressed, &written);
  QString error;
  if (!WriteWholeFile(path, bytes, &error)) {
    if (message) *message = QStringLiteral("保存歌词时遇到错误,") + error;
    return false;
  }
  if (used) *used = written;
  return true;
}

}  // namespace lyrova
