#include "common/paths.h"

#include <QFileInfo>

namespace lyrova {

QStringView TrimBlanksView(QStringView text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  return text.sliced(first, last - first);
}

QString TrimBlanks(const QString& text) {
  const QStringView trimmed = TrimBlanksView(text);
  return trimmed.size() == text.size() ? text : trimmed.toString();
}

QString JoinPath(const QString& folder, const QString& name) {
  if (folder.endsWith(u'/')) return folder + name;
  return folder + u'/' + name;
}

bool FileExists(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

bool DirExists(const QString& path) {
  if (path.isEmpty()) return false;
  return QFileInfo(path).isDir();
}

QString Unquote(const QString& text) {
  const QString trimmed = TrimBlanks(text);
  if (trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
    return trimmed.mid(1, trimmed.size() - 2);
  return trimmed;
}

QString UnquoteTrimmed(const QString& text) { return TrimBlanks(Unquote(text)); }

QString DirectoryPart(const QString& path) {
  const QString trimmed = TrimBlanks(path);
  const qsizetype slash = trimmed.lastIndexOf(u'/');
  return slash < 0 ? QString() : trimmed.left(slash + 1);
}

QString FileNamePart(const QString& path) {
  const QString trimmed = TrimBlanks(path);
  return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

namespace {
// Index of the extension's "." in the trimmed path, or -1.
qsizetype ExtensionDot(const QString& trimmed) {
  const qsizetype dot = trimmed.lastIndexOf(u'.');
  return dot > trimmed.lastIndexOf(u'/') ? dot : -1;
}
}  // namespace

QString StripExtension(const QString& path) {
  const QString trimmed = TrimBlanks(path);
  const qsizetype dot = ExtensionDot(trimmed);
  return dot < 0 ? trimmed : trimmed.left(dot);
}

QString PathExtension(const QString& path) {
  const QString trimmed = TrimBlanks(path);
  const qsizetype dot = ExtensionDot(trimmed);
  return dot < 0 ? QString() : trimmed.mid(dot + 1);
}

QString LrcNameFor(const QString& audioPath) {
  if (TrimBlanks(audioPath).isEmpty()) return {};
  return StripExtension(audioPath) + QStringLiteral(".lrc");
}

bool IsLyricsOrTextFile(const QString& path) {
  const QString ext = PathExtension(path).toUpper();
  return ext == u"LRC" || ext == u"TXT";
}

}  // namespace lyrova
