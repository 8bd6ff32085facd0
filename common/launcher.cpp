#include "common/launcher.h"

#include "common/paths.h"
#include "common/programfolder.h"

#include <QProcess>
#include <QStandardPaths>

namespace lyrova {

bool ProcessLauncher::Start(const QString& program, const QStringList& arguments,
                            QString* error) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  if (process.startDetached()) return true;
  if (error != nullptr) *error = process.errorString();
  return false;
}

QString SiblingProgram(const QString& executable) {
  return SiblingProgram(ProgramFolder(), executable);
}

QString SiblingProgram(const QString& programFolder, const QString& executable) {
  return JoinPath(programFolder, executable);
}

QString ChooseTextEditor(const QString& configured,
                         const std::function<QString(const QString&)>& findProgram,
                         const std::function<QString(const QString&)>& environment) {
  const auto find = findProgram ? findProgram : [](const QString& name) {
    return QStandardPaths::findExecutable(name);
  };
  const auto env = environment ? environment : [](const QString& name) {
    return qEnvironmentVariable(name.toLocal8Bit().constData());
  };
  const QString chosen = configured.trimmed();
  if (!chosen.isEmpty()) return chosen;
  const QString visual = env(QStringLiteral("VISUAL")).trimmed();
  if (!visual.isEmpty()) return visual;
  // Graphical editors first: the Player has no terminal to run a console editor in.
  static const QStringList kCommon = {
      QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"),  QStringLiteral("kate"),
      QStringLiteral("kwrite"),            QStringLiteral("mousepad"), QStringLiteral("pluma"),
      QStringLiteral("xed"),               QStringLiteral("featherpad"), QStringLiteral("leafpad"),
  };
  for (const QString& name : kCommon) {
    if (!find(name).isEmpty()) return name;
  }
  return QStringLiteral("xdg-open");
}

bool StartTextEditor(Launcher& launcher, const QString& editor, const QString& path,
                     QString* error) {
  QStringList parts = editor.split(u' ', Qt::SkipEmptyParts);
  if (parts.isEmpty()) parts.append(QStringLiteral("xdg-open"));
  const QString program = parts.takeFirst();
  parts.append(path);
  return launcher.Start(program, parts, error);
}

}  // namespace lyrova
