#include "common/settings.h"

#include "common/fileio.h"
#include "common/numbertext.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace lyrova {
namespace {

const QString kGroup = QStringLiteral("Set");

struct FileStamp {
  bool exists = false;
  qint64 size = 0;
  qint64 modifiedMs = 0;
};

FileStamp StampOf(const QByteArray& name) {
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) return {};
  return {true, qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000};
}

// QSettings keeps what it read of a file and reads it again only when the file's size or its
// modification time in milliseconds has changed. A replacement within the same millisecond and of
// the same size is given a later time, so that nobody reads a stale value.
void MarkReplaced(const QByteArray& name, const FileStamp& before) {
  const FileStamp after = StampOf(name);
  if (!before.exists || !after.exists || after.size != before.size || after.modifiedMs != before.modifiedMs)
    return;
  const qint64 ms = before.modifiedMs + 1;
  const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long(ms % 1000) * 1000000}};
  ::utimensat(AT_FDCWD, name.constData(), times, 0);
}

// Qt writes an INI file through a buffered file whose late write errors it can miss, and would
// then put a cut-off file in place of the old one. So Qt writes the new text into a scratch copy,
// the copy is read back and checked against what it must hold, and only then does the checked
// writer put it in place of the real file. A value the file already holds is not written again.
bool WriteValue(const QString& file, const QString& key, const QString& value) {
  const QString fullKey = kGroup + u'/' + key;
  const QFileInfo info(file);
  if (!QDir().mkpath(info.absolutePath())) return false;
  QVariantMap expected;
  {
    const QSettings current(file, QSettings::IniFormat);
    const QVariant stored = current.value(fullKey);
    if (stored.typeId() == QMetaType::QString && stored.toString() == value) return true;
    for (const QString& name : current.allKeys()) expected.insert(name, current.value(name));
  }
  expected.insert(fullKey, value);

  QByteArray before;
  QString error;
  if (!ReadWholeFile(file, &before, &error) && info.exists()) return false;
  QTemporaryFile scratch(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".XXXXXX"));
  if (!scratch.open() || !WriteWholeFile(scratch.fileName(), before, &error)) return false;
  {
    QSettings draft(scratch.fileName(), QSettings::IniFormat);
    draft.setValue(fullKey, value);
    draft.sync();
    if (draft.status() != QSettings::NoError) return false;
  }
  QByteArray bytes;
  if (!ReadWholeFile(scratch.fileName(), &bytes, &error)) return false;
  // The check reads a copy under a name of its own: under the scratch copy's name QSettings
  // would answer from what it meant to write, not from what reached the disk.
  QTemporaryFile proof(scratch.fileTemplate());
  if (!proof.open() || !WriteWholeFile(proof.fileName(), bytes, &error)) return false;
  {
    const QSettings check(proof.fileName(), QSettings::IniFormat);
    const QStringList names = check.allKeys();
    if (check.status() != QSettings::NoError || names.size() != expected.size()) return false;
    for (const QString& name : names) {
      if (check.value(name) != expected.value(name)) return false;
    }
  }
  const QByteArray name = QFile::encodeName(file);
  const FileStamp stamp = StampOf(name);
  if (!WriteWholeFile(file, bytes, &error)) return false;
  MarkReplaced(name, stamp);
  return true;
}

}  // namespace

SettingsStore::SettingsStore(QString program, QString configRoot)
    : program_(std::move(program)), configRoot_(std::move(configRoot)) {
  if (configRoot_.isEmpty())
    configRoot_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString SettingsStore::FilePathFor(const QString& program, const QString& configRoot) {
  return configRoot + u'/' + program + u'/' + program + QStringLiteral(".ini");
}

QString SettingsStore::FilePath() const { return FilePathFor(program_, configRoot_); }

QString SettingsStore::ReadSetting(const QString& key, const QString& defaultValue) const {
  const QSettings store(FilePath(), QSettings::IniFormat);
  const QVariant value = store.value(kGroup + u'/' + key);
  return value.isValid() ? value.toString() : defaultValue;
}

bool SettingsStore::WriteSetting(const QString& key, const QString& value) const {
  return WriteValue(FilePath(), key, value);
}

bool SettingsStore::WriteEditorSetting(const QString& key, const QString& value) const {
  return WriteValue(FilePathFor(kEditorProgram, configRoot_), key, value);
}

bool SettingsStore::ReadBoolSetting(const QString& key, bool defaultValue) const {
  const QString text = ReadSetting(key, defaultValue ? QStringLiteral("-1") : QStringLiteral("0"));
  return defaultValue ? text != u"0" : text == u"-1";
}

bool SettingsStore::WriteBoolSetting(const QString& key, bool value) const {
  return WriteSetting(key, value ? QStringLiteral("-1") : QStringLiteral("0"));
}

double SettingsStore::ReadNumberSetting(const QString& key, const QString& defaultValue) const {
  return LeadingNumber(ReadSetting(key, defaultValue));
}

}  // namespace lyrova
