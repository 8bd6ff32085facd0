#pragma once

#include "common/programcontract.h"

#include <QString>

// The per-user settings store of one program: an INI file "<root>/<program>/<program>.ini",
// every value a string in the group "Set". Booleans are stored as "-1" (true) and "0" (false).
// Each call opens, reads or writes and closes the file, so two programs may share a store
// (the Player writes the Editor's hand-off keys) without holding stale copies.
namespace lyrova {

class SettingsStore {
 public:
  // `configRoot` empty means the user's configuration folder.
  explicit SettingsStore(QString program, QString configRoot = {});

  QString ReadSetting(const QString& key, const QString& defaultValue) const;
  bool WriteSetting(const QString& key, const QString& value) const;

  // Writes into the Editor's store under the same configuration root (the Player's hand-off).
  bool WriteEditorSetting(const QString& key, const QString& value) const;

  // A Boolean whose default is true is false only for "0"; one whose default is false is
  // true only for "-1". Any other stored text gives the default.
  bool ReadBoolSetting(const QString& key, bool defaultValue) const;
  bool WriteBoolSetting(const QString& key, bool value) const;

  // The leading decimal number of the stored text (0 when it is no number).
  double ReadNumberSetting(const QString& key, const QString& defaultValue) const;

  QString Program() const { return program_; }
  QString FilePath() const;
  static QString FilePathFor(const QString& program, const QString& configRoot);

 private:
  QString program_;
  QString configRoot_;
};

}  // namespace lyrova
