#pragma once

#include <QString>
#include <QStringList>

// The Scanner's command line: "Scoutel [/R] [FOLDER...]". "/R" (any letter case, anywhere)
// starts the Player again when the Scanner closes; every other argument is a folder to scan
// instead of every drive, so that the list can be kept to a music library.
namespace lyrova {

struct ScannerArguments {
  bool returnToPlayer = false;
  // Absolute and cleaned ("~" is the shell's to expand), each once, in the given order.
  QStringList folders;
};

ScannerArguments ParseScannerArguments(const QStringList& arguments);

}  // namespace lyrova
