#pragma once

#include "common/programcontract.h"

#include <QString>
#include <QStringList>

#include <functional>

// Starting the suite's programs and the user's text editor. Programs are started with an
// argument list, never through a shell, and the starter does not wait for them. Tests replace
// the Launcher with one that records what would have been started.
namespace lyrova {

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts `program` detached. On failure returns false and sets `error` to the system's
  // description of what went wrong.
  virtual bool Start(const QString& program, const QStringList& arguments, QString* error) = 0;
};

class ProcessLauncher : public Launcher {
 public:
  bool Start(const QString& program, const QStringList& arguments, QString* error) override;
};

// The full path of a program of the suite beside the running one.
QString SiblingProgram(const QString& executable);
QString SiblingProgram(const QString& programFolder, const QString& executable);

// The plain text editor used for editing lyrics and list files: `configured` (a program name or
// path, may be empty), else $VISUAL, else the first of the common desktop text editors found on
// the search path, else "xdg-open". `findProgram` looks a name up on the search path ("" when
// absent); `environment` reads a variable. Both default to the real ones.
QString ChooseTextEditor(
    const QString& configured,
    const std::function<QString(const QString&)>& findProgram = {},
    const std::function<QString(const QString&)>& environment = {});

// Starts the chosen text editor on `path`. The editor command may carry its own arguments
// ("code --wait"); they are split on blanks, the file path is passed as one argument.
bool StartTextEditor(Launcher& launcher, const QString& editor, const QString& path,
                     QString* error);

}  // namespace lyrova
