#include "common/settings.h"

#include "common/numbertext.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace lyrova {
namespace {

const QString kGroup = QStringLiteral("Set");

bool WriteValue(const QString& file, const QString& key, const QString& value) {
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSettings store(file, QSettings::IniFormat);
  store.setValue(kGroup + u'/' + key, value);
  store.sync();
  return store.status() == QSettings::NoError;
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
