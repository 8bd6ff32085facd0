#pragma once

#include "common/launcher.h"
#include "common/prompts/prompts.h"
#include "scanner/engine/dirfile.h"
#include "scanner/engine/dirlist.h"
#include "scanner/engine/drvscan.h"
#include "scanner/engine/scanargs.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <memory>

class QCheckBox;
class QCloseEvent;
class QShowEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lyrova {

// What the window needs from outside; tests hand in scripted prompts, a recording launcher, a
// fake mount table and a temporary data folder.
struct ScannerServices {
  Prompts* prompts = nullptr;
  Launcher* launcher = nullptr;
  QString programFolder;  // where the Player's program file is
  QString dataFolder;     // where "LrcDir.ini" is
  QStringList arguments;  // the program's arguments: "/R" and folders (ParseScannerArguments)
  DrvScan::MountSource mounts;  // empty: the real mount table
  RemovableQuery removable;     // empty: the real device query
};

// The Scanner's one window. The button starts a drive scan for "*.lrc" (removable drives left
// out, optical ones only with "搜索光驱"), or a scan of the folders named on the command line
// only, and stops it; every folder holding lyrics joins the list and "LrcDir.ini". Named folders
// that are not there are said once the window shows, and left out. The scan runs inside the button's click, letting window events run
// between its steps, so the stop button and the close box work at any moment. Closing stops
// the scan and starts the Player when asked for ("/R" or Yes to the closing question).
class ScannerWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ScannerWindow(const ScannerServices& services, QWidget* parent = nullptr);
  ~ScannerWindow() override;

  // The controls, by their designed names.
  QPushButton* Command2() const { return command2_; }
  QCheckBox* Check1() const { return check1_; }
  QLineEdit* Text1(int index) const { return text1_.value(index); }
  QListWidget* List2() const { return list2_; }
  DrvScan& LrcScan() { return *lrcScan_; }
  const DirList& Dirs() const { return dirs_; }

  bool Scanning() const { return scanning_; }
  bool Stopped() const { return stopped_; }
  bool LaunchPlayer() const { return launchPlayer_; }
  // The folders the button scans; empty for a scan of all drives.
  const QStringList& ScanFolders() const { return scanFolders_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void OnCommand2();
  void StartScan();
  void AskStop();
  void ShowIdle();
  void LoadList();
  void OnFindingDir(const QString& directory);
  void OnFindingName(const QString& directory, const QString& name);
  // Puts the latest status, counts and new list rows on screen.
  void ShowProgress();
  void FlushFile();
  bool SaveFile();
  void StartPlayer();
  void ReportMissingFolders();
  QString DirFilePath() const;

  ScannerServices services_;
  ScannerArguments arguments_;
  QStringList scanFolders_;
  QStringList missingFolders_;
  std::unique_ptr<DrvScan> lrcScan_;
  DirList dirs_;
  SearchDirFile dirFile_;
  QTimer flushTimer_;

  QPushButton* command2_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QList<QLineEdit*> text1_;
  QListWidget* list2_ = nullptr;

  bool scanning_ = false;
  qint32 searched_ = 0;
  bool stopped_ = false;
  bool launchPlayer_ = false;
  bool closed_ = false;
  QString status_;
  bool progressChanged_ = false;
};

}  // namespace lyrova
