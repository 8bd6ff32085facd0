#include "player/shell/filemanagerentry.h"

#include "common/fileio.h"
#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace lyrova {

namespace {

const QString kMimeCacheFile = QStringLiteral("mimeinfo.cache");
const QString kMimeCacheGroup = QStringLiteral("[MIME Cache]");

// The file's text, "" when it is missing or unreadable.
QString ReadText(const QString& path) {
  QByteArray bytes;
  return ReadWholeFile(path, &bytes, nullptr) ? QString::fromUtf8(bytes) : QString();
}

bool WriteTextIfChanged(const QString& path, const QString& text) {
  if (QFileInfo::exists(path) && ReadText(path) == text) return true;
  return WriteWholeFile(path, text.toUtf8(), nullptr);
}

bool IsGroupHeader(const QString& line) { return line.trimmed().startsWith(u'['); }

}  // namespace

QStringList FileManagerMimeTypes() {
  return {QStringLiteral("audio/mpeg"),       QStringLiteral("audio/x-mp3"),     QStringLiteral("audio/mp2"),
          QStringLiteral("audio/aac"),        QStringLiteral("audio/x-aac"),     QStringLiteral("audio/mp4"),
          QStringLiteral("audio/x-m4a"),      QStringLiteral("audio/ogg"),       QStringLiteral("audio/x-vorbis+ogg"),
          QStringLiteral("audio/x-opus+ogg"), QStringLiteral("audio/flac"),      QStringLiteral("audio/x-flac"),
          QStringLiteral("audio/x-wav"),      QStringLiteral("audio/wav"),       QStringLiteral("audio/x-ms-wma"),
          QStringLiteral("audio/midi"),       QStringLiteral("audio/x-midi"),    QStringLiteral("audio/ac3"),
          QStringLiteral("audio/vnd.dts"),    QStringLiteral("audio/x-ape")};
}

QString QuoteExecArgument(const QString& argument) {
  QString out = QStringLiteral("\"");
  for (const QChar ch : argument) {
    if (ch == u'"' || ch == u'`' || ch == u'$' || ch == u'\\')
      out += u'\\' + QString(ch);
    else if (ch == u'%')
      out += QStringLiteral("%%");
    else
      out += ch;
  }
  return out + u'"';
}

QString EscapeDesktopString(const QString& value) {
  QString out;
  for (const QChar ch : value) {
    switch (ch.unicode()) {
      case u'\\': out += QStringLiteral("\\\\"); break;
      case u'\n': out += QStringLiteral("\\n"); break;
      case u'\t': out += QStringLiteral("\\t"); break;
      case u'\r': out += QStringLiteral("\\r"); break;
      default: out += ch;
    }
  }
  return out;
}

QString DesktopEntryText(const QString& executablePath) {
  const QString program = QFileInfo(executablePath).absoluteFilePath();
  return QStringLiteral("[Desktop Entry]\n"
                        "Type=Application\n"
                        "Version=1.5\n"
                        "Name=") +
         kFileManagerEntryName + QStringLiteral("\nComment=用 Lyrova 播放歌曲并同步显示歌词\nExec=") +
         EscapeDesktopString(QuoteExecArgument(program)) + QStringLiteral(" %f\nTryExec=") +
         EscapeDesktopString(program) + QStringLiteral("\nMimeType=") + FileManagerMimeTypes().join(u';') +
         QStringLiteral(";\nNoDisplay=true\nTerminal=false\n");
}

QString ApplicationsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/applications");
}

QString FileManagerEntryPath(const QString& applicationsFolder) {
  return JoinPath(applicationsFolder, kFileManagerEntryFile);
}

QString UpdatedMimeCache(const QString& cacheText, const QString& desktopId, const QStringList& mimeTypes,
                         bool add) {
  QStringList lines = cacheText.split(u'\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  qsizetype groupStart = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines.at(i).trimmed() == kMimeCacheGroup) {
      groupStart = i;
      break;
    }
  }
  if (groupStart < 0) {
    if (!add || mimeTypes.isEmpty()) return cacheText;
    lines << kMimeCacheGroup;
    groupStart = lines.size() - 1;
  }
  qsizetype groupEnd = groupStart + 1;
  while (groupEnd < lines.size() && !IsGroupHeader(lines.at(groupEnd))) ++groupEnd;

  bool changed = false;
  QStringList missing = mimeTypes;
  for (qsizetype i = groupStart + 1; i < groupEnd; ++i) {
    const QString& line = lines.at(i);
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0) continue;
    const QString type = line.left(equals).trimmed();
    if (!mimeTypes.contains(type)) continue;
    missing.removeAll(type);
    QStringList ids = line.mid(equals + 1).split(u';', Qt::SkipEmptyParts);
    const bool listed = ids.contains(desktopId);
    if (add == listed) continue;
    changed = true;
    if (add)
      ids << desktopId;
    else
      ids.removeAll(desktopId);
    if (ids.isEmpty()) {
      lines.removeAt(i);
      --i;
      --groupEnd;
    } else {
      lines[i] = type + u'=' + ids.join(u';') + u';';
    }
  }
  if (add) {
    for (const QString& type : missing) lines.insert(groupEnd++, type + u'=' + desktopId + u';');
    changed = changed || !missing.isEmpty();
  }
  if (!changed) return cacheText;
  return lines.join(u'\n') + u'\n';
}

bool AddFileManagerEntry(const QString& executablePath, const QString& applicationsFolder) {
  if (!QDir().mkpath(applicationsFolder)) return false;
  if (!WriteTextIfChanged(FileManagerEntryPath(applicationsFolder), DesktopEntryText(executablePath)))
    return false;
  const QString cachePath = JoinPath(applicationsFolder, kMimeCacheFile);
  const QString cache = ReadText(cachePath);
  return WriteTextIfChanged(cachePath, UpdatedMimeCache(cache, kFileManagerEntryFile, FileManagerMimeTypes(), true));
}

bool AddFileManagerEntry(const QString& executablePath) {
  return AddFileManagerEntry(executablePath, ApplicationsFolder());
}

bool RemoveFileManagerEntry(const QString& applicationsFolder) {
  const QString entry = FileManagerEntryPath(applicationsFolder);
  if (QFileInfo::exists(entry) && !QFile::remove(entry)) return false;
  const QString cachePath = JoinPath(applicationsFolder, kMimeCacheFile);
  if (!QFileInfo::exists(cachePath)) return true;
  const QString cache = ReadText(cachePath);
  return WriteTextIfChanged(cachePath, UpdatedMimeCache(cache, kFileManagerEntryFile, FileManagerMimeTypes(), false));
}

bool RemoveFileManagerEntry() { return RemoveFileManagerEntry(ApplicationsFolder()); }

}  // namespace lyrova
