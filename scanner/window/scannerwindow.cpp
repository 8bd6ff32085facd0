#include "scanner/window/scannerwindow.h"

#include "common/paths.h"
#include "common/programcontract.h"
#include "scanner/window/scannertexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace lyrova {
namespace {

// How often new folders reach "LrcDir.ini" during a scan; the scan lets timers run far more
// often than this, so the file is never more than about this much behind.
constexpr int kFlushIntervalMs = 500;
// The longest the scan works before letting window events run.
constexpr int kYieldIntervalMs = 10;

}  // namespace

ScannerWindow::ScannerWindow(const ScannerServices& services, QWidget* parent)
    : QWidget(parent),
      services_(services),
      arguments_(ParseScannerArguments(services.arguments)),
      lrcScan_(std::make_unique<DrvScan>()),
      dirFile_(JoinPath(services.dataFolder, kSearchDirFileName)) {
  for (const QString& folder : std::as_const(arguments_.folders))
    (DirExists(folder) ? scanFolders_ : missingFolders_).append(folder);
  BuildControls();
  setWindowTitle(scannertexts::Caption());
  setWindowIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  ShowIdle();
  text1_[0]->setText(scannertexts::NotSearched());
  text1_[2]->setText(QStringLiteral("0"));

  if (services_.mounts) lrcScan_->SetMountSource(services_.mounts);
  if (services_.removable) lrcScan_->SetRemovableQuery(services_.removable);
  lrcScan_->SetYield(
      [this] {
        ShowProgress();
        QCoreApplication::processEvents();
      },
      kYieldIntervalMs);
  connect(lrcScan_.get(), &DrvScan::FindingDir, this, &ScannerWindow::OnFindingDir);
  connect(lrcScan_.get(), &DrvScan::FindingName, this, &ScannerWindow::OnFindingName);
  connect(command2_, &QPushButton::clicked, this, &ScannerWindow::OnCommand2);
  flushTimer_.setInterval(kFlushIntervalMs);
  connect(&flushTimer_, &QTimer::timeout, this, &ScannerWindow::FlushFile);

  LoadList();
}

ScannerWindow::~ScannerWindow() {
  // A window destroyed without being closed still must not leave a scan running on it.
  lrcScan_->StopScan();
}

void ScannerWindow::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  command2_ = new QPushButton(this);
  command2_->setObjectName(QStringLiteral("Command2"));
  command2_->setMinimumHeight(40);
  layout->addWidget(command2_);
  check1_ = new QCheckBox(scannertexts::OpticalOption(), this);
  check1_->setObjectName(QStringLiteral("Check1"));
  layout->addWidget(check1_);

  auto* grid = new QGridLayout;
  const QString labels[] = {scannertexts::StatusLabel(), scannertexts::AddedLabel(),
                            scannertexts::SearchedLabel()};
  for (int i = 0; i < 3; ++i) {
    auto* box = new QLineEdit(this);
    box->setReadOnly(true);
    box->setObjectName(QStringLiteral("Text1_%1").arg(i));
    auto* label = new QLabel(labels[i], this);
    label->setBuddy(box);
    grid->addWidget(label, i, 0);
    grid->addWidget(box, i, 1);
    text1_.append(box);
  }
  layout->addLayout(grid);
  list2_ = new QListWidget(this);
  list2_->setObjectName(QStringLiteral("List2"));
  list2_->setUniformItemSizes(true);
  layout->addWidget(list2_, 1);
  resize(560, 420);
}

QString ScannerWindow::DirFilePath() const { return dirFile_.Path(); }

void ScannerWindow::ShowIdle() {
  command2_->setText(scannertexts::IdleButton());
  // Drives are not searched when folders were named, optical ones neither.
  check1_->setEnabled(arguments_.folders.isEmpty());
  scanning_ = false;
}

void ScannerWindow::LoadList() {
  dirs_.LoadDirs(DirFilePath());
  list2_->clear();
  list2_->addItems(dirs_.Dirs());
  text1_[1]->setText(QString::number(dirs_.Count()));
}

void ScannerWindow::OnCommand2() {
  if (scanning_)
    AskStop();
  else
    StartScan();
}

void ScannerWindow::StartScan() {
  // A stopped scan is still unwinding (the click came in its last yield): it ends in a moment.
  if (lrcScan_->IsBusy() || closed_) return;
  stopped_ = false;
  searched_ = 0;
  LoadList();
  dirFile_.Restart();
  lrcScan_->SetScanName(QStringLiteral("*.lrc"));
  lrcScan_->SetRemovalFloppyDisk(true);
  lrcScan_->SetRemovalCdrom(!check1_->isChecked());
  command2_->setText(scannertexts::ScanningButton());
  check1_->setEnabled(false);
  scanning_ = true;
  flushTimer_.start();

  if (arguments_.folders.isEmpty())
    lrcScan_->DriveScan();
  else
    lrcScan_->FolderScan(scanFolders_);

  flushTimer_.stop();
  ShowProgress();
  if (stopped_) {  // AskStop has saved the list and said so when it could not
    FlushFile();
    return;
  }
  ShowIdle();
  if (!SaveFile()) return;
  if (services_.prompts->Question(scannertexts::DoneQuestion(), scannertexts::QuestionTitle(),
                                  DefaultAnswer::Yes))
    launchPlayer_ = true;
  close();
}

void ScannerWindow::AskStop() {
  if (!services_.prompts->Question(scannertexts::StopQuestion(), scannertexts::QuestionTitle(),
                                   DefaultAnswer::No))
    return;
  // The scan may have ended while the question was open; then there is nothing to stop.
  if (!scanning_) return;
  lrcScan_->StopScan();
  stopped_ = true;
  ShowIdle();
  SaveFile();
}

void ScannerWindow::OnFindingDir(const QString& directory) {
  status_ = directory;
  ++searched_;
  progressChanged_ = true;
}

void ScannerWindow::OnFindingName(const QString& directory, const QString&) {
  if (dirs_.AddDir(directory)) {
    list2_->addItem(dirs_.Dirs().last());
    dirFile_.Append(dirs_.Dirs().last());
  }
  // One lyrics file is enough to take the folder.
  lrcScan_->SkipIsDirFile();
  progressChanged_ = true;
}

void ScannerWindow::ShowProgress() {
  if (!progressChanged_) return;
  progressChanged_ = false;
  text1_[0]->setText(status_);
  text1_[1]->setText(QString::number(dirs_.Count()));
  text1_[2]->setText(QString::number(searched_));
}

// A flush during the scan that fails keeps its folders for the next one; the flush that ends a
// scan, or the Scanner, says when the list could not be saved.
void ScannerWindow::FlushFile() { dirFile_.Flush(dirs_.Dirs()); }

bool ScannerWindow::SaveFile() {
  if (dirFile_.Flush(dirs_.Dirs())) return true;
  services_.prompts->Message(scannertexts::SaveFailed(dirFile_.LastError()), scannertexts::ErrorTitle(),
                             MessageIcon::Critical);
  return false;
}

void ScannerWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (closed_) return;
  closed_ = true;
  lrcScan_->StopScan();
  stopped_ = true;
  flushTimer_.stop();
  SaveFile();
  if (arguments_.returnToPlayer) launchPlayer_ = true;
  if (launchPlayer_) StartPlayer();
}

void ScannerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Said over the window, once it is there, rather than before anything shows.
  if (!missingFolders_.isEmpty())
    QMetaObject::invokeMethod(this, &ScannerWindow::ReportMissingFolders, Qt::QueuedConnection);
}

void ScannerWindow::ReportMissingFolders() {
  QStringList lines;
  for (const QString& folder : std::as_const(missingFolders_))
    lines.append(scannertexts::FolderMissing(folder));
  missingFolders_.clear();
  if (!lines.isEmpty())
    services_.prompts->Message(lines.join(u'\n'), scannertexts::QuestionTitle(),
                               MessageIcon::Information);
}

void ScannerWindow::StartPlayer() {
  const QString player = SiblingProgram(services_.programFolder, kPlayerExecutable);
  QString error;
  // A file that is there but cannot be started is as useless as a missing one.
  if (!FileExists(player) || !services_.launcher->Start(player, {}, &error))
    services_.prompts->Message(scannertexts::PlayerMissing(player), scannertexts::ErrorTitle(),
                               MessageIcon::Critical);
}

}  // namespace lyrova
