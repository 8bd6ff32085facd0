#include "documentjson.h"

#include "lyrics/wordtags.h"

namespace lyrova {
namespace {

// A JSON string literal. Quotes, backslashes and every control character are escaped; all
// other characters are written as UTF-8.
void AppendString(QByteArray& out, const QString& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  const QByteArray utf8 = text.toUtf8();
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (u < 0x20) {
          out += "\\u00";
          out += kHex[u >> 4];
          out += kHex[u & 15];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

void AppendMember(QByteArray& out, const char* key, const QString& value) {
  out += '"';
  out += key;
  out += "\": ";
  AppendString(out, value);
  out += ", ";
}

}  // namespace

QByteArray DocumentJson(const LyricsDocument& doc, bool editor) {
  QByteArray out;
  out.reserve(128 + doc.count() * 48);
  out += '{';
  AppendMember(out, "title", doc.title);
  AppendMember(out, "artist", doc.artist);
  AppendMember(out, "album", doc.album);
  AppendMember(out, "by", doc.by);
  out += "\"offset\": " + QByteArray::number(doc.offset) + ", ";
  if (editor) {
    out += "\"tags\": [";
    for (qsizetype i = 0; i < doc.tags.size(); ++i) {
      out += i > 0 ? ", [" : "[";
      AppendString(out, doc.tags[i].key);
      out += ", ";
      AppendString(out, doc.tags[i].value);
      out += ']';
    }
    out += "], ";
  }
  out += "\"lines\": [";
  for (qsizetype i = 0; i < doc.count(); ++i) {
    const LyricLine& line = doc.lines[i];
    if (i > 0) out += ", ";
    out += "{\"time\": " + QByteArray::number(line.time) + ", \"text\": ";
    AppendString(out, line.text);
    if (editor) out += line.timed ? ", \"timed\": true" : ", \"timed\": false";
    if (line.words >= 0) {
      const QList<LyricWord>& words = doc.words[line.words];
      out += ", \"words\": [";
      for (qsizetype w = 0; w < words.size(); ++w) {
        out += w > 0 ? ", {\"time\": " : "{\"time\": ";
        out += QByteArray::number(qint64(line.time) + words[w].time);
        out += ", \"text\": ";
        AppendString(out, WordText(line.text, words, w).toString());
        out += '}';
      }
      out += ']';
    }
    out += '}';
  }
  out += "]}\n";
  return out;
}

}  // namespace lyrova
