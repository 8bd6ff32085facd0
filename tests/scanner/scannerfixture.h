#pragma once

// A Scanner window over a throw-away tree: three "drives" (a disk, a removable stick and an
// optical disc) from a fake mount table, a data folder for "LrcDir.ini", a program folder that
// may hold the Player, scripted prompts and a launcher that only records.

#include "common/launcher.h"
#include "common/prompts/scriptedprompts.h"
#include "common/textlines.h"
#include "scanner/window/scannerwindow.h"

#include "scantree.h"

#include <QList>
#include <QListWidget>
#include <QStringList>

#include <memory>

class RecordingLauncher : public lyrova::Launcher {
 public:
  bool Start(const QString& program, const QStringList& arguments, QString* error) override {
    started.append(program + u'|' + arguments.join(u' '));
    if (!succeed && error) *error = QStringLiteral("cannot start");
    return succeed;
  }
  QStringList started;
  bool succeed = true;
};

class ScannerFixture {
 public:
  explicit ScannerFixture(const QString& commandLine = {}, bool playerPresent = true) {
    tree.Make(L(u"data/|bin/"));
    if (playerPresent) tree.Make({QStringLiteral("$/bin/lyrova")});
    services.prompts = &prompts;
    services.launcher = &launcher;
    services.programFolder = tree.Expand(QStringLiteral("$/bin"));
    services.dataFolder = tree.Expand(QStringLiteral("$/data"));
    // Arguments split at blanks, "$" for the tree's root.
    for (const QString& argument : commandLine.split(u' ', Qt::SkipEmptyParts))
      services.arguments.append(argument.startsWith(u'$') ? tree.Expand(argument) : argument);
    const QString root = tree.Root();
    services.mounts = [root] {
      return QList<lyrova::MountEntry>{
          {8, 1, QStringLiteral("/"), root + QStringLiteral("/disk"), QStringLiteral("ext4"), {}},
          {8, 16, QStringLiteral("/"), root + QStringLiteral("/stick"), QStringLiteral("vfat"), {}},
          {11, 0, QStringLiteral("/"), root + QStringLiteral("/cd"), QStringLiteral("iso9660"), {}}};
    };
    services.removable = [](int major, int minor) { return major == 8 && minor == 16; };
  }

  // Makes the window (after the tree and "LrcDir.ini" are ready) and shows it.
  lyrova::ScannerWindow& Open() {
    window = std::make_unique<lyrova::ScannerWindow>(services);
    window->show();
    return *window;
  }

  QString DirFile() const { return tree.Expand(QStringLiteral("$/data/LrcDir.ini")); }
  QStringList FileLines() const {
    return lyrova::ReadTextLines(DirFile()).value_or(QStringList{QStringLiteral("<missing>")});
  }
  QStringList Rows() const {
    QStringList rows;
    for (int i = 0; i < window->List2()->count(); ++i) rows.append(window->List2()->item(i)->text());
    return rows;
  }

  ScanTree tree;
  lyrova::ScriptedPrompts prompts;
  RecordingLauncher launcher;
  lyrova::ScannerServices services;
  std::unique_ptr<lyrova::ScannerWindow> window;
};
