// Every writer of the suite under a file-size limit: a save that cannot be written completely
// fails with the reason and leaves the old file byte for byte. What else a replaced file is (its
// mode, owner, a symbolic link to it) survives a save, and only regular files are read.
#include "common/fileio.h"
#include "common/settings.h"
#include "common/textlines.h"
#include "lyrics/lrcreader.h"
#include "lyrics/textfiles.h"
#include "scanner/engine/dirfile.h"
#include "tests/common/filesizelimit.h"
#include "tests/lyrics/lyricstestutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace lyrova;

namespace {

enum class Writer { WholeFile, TextLines, TextFile, Setting, DirListRewrite, DirListAppend };

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

struct stat StatOf(const QString& path) {
  struct stat info {};
  ::lstat(QFile::encodeName(path).constData(), &info);
  return info;
}

// One write of about `size` bytes to `path` through `writer`. For the search-folder list,
// `path`'s file was first written by the same SearchDirFile, so an append is tried first.
class WriteThrough {
 public:
  WriteThrough(Writer writer, QString path, QString configRoot)
      : writer_(writer), path_(std::move(path)), store_(QStringLiteral("Lyrova"), configRoot), dirs_(path_) {
    if (writer_ == Writer::DirListAppend) {
      dirs_.Append(QStringLiteral("/music/first"));
      synced_ = dirs_.Flush({QStringLiteral("/music/first")});
    }
  }
  bool Ready() const { return writer_ != Writer::DirListAppend || synced_; }

  bool Write(int size, QString* error) {
    const QString text(size, u'x');
    QStringList folders{QStringLiteral("/music/first")};
    for (int i = 0; folders.size() * 40 < size; ++i) folders.append(QStringLiteral("/music/folder-%1-").arg(i) + QString(20, u'y'));
    switch (writer_) {
      case Writer::WholeFile: return WriteWholeFile(path_, text.toUtf8(), error);
      case Writer::TextLines: return WriteTextLines(path_, folders, TextEncoding::Ansi, error);
      case Writer::TextFile: return SaveTextFile(path_, text, TextEncoding::Ansi, error);
      case Writer::Setting: return store_.WriteSetting(QStringLiteral("Fore"), text);
      case Writer::DirListRewrite:
      case Writer::DirListAppend: {
        for (const QString& folder : folders.mid(1)) dirs_.Append(folder);
        const bool ok = dirs_.Flush(folders);
        *error = dirs_.LastError();
        return ok;
      }
    }
    return false;
  }

 private:
  Writer writer_;
  QString path_;
  SettingsStore store_;
  SearchDirFile dirs_;
  bool synced_ = false;
};

}  // namespace

class TestCheckedFiles : public QObject {
  Q_OBJECT

 private slots:
  void incompleteWritesReplaceNothing_data() {
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");  // the failure's text; "@" stands for the path
    const QString full = DiskFullText();
    const struct {
      const char* name;
      Writer writer;
      QString message;
    } writers[] = {
        {"whole file", Writer::WholeFile, full},
        {"list file", Writer::TextLines, full},
        {"text mode file", Writer::TextFile, u"不能保存或建立文件 \"@\","_qs + full},
        {"setting", Writer::Setting, QString()},
        {"search-folder list", Writer::DirListRewrite, full},
        {"search-folder list append", Writer::DirListAppend, full},
    };
    // Qt's file buffer is 16 KB: the small case fails only when the buffer is flushed.
    for (const auto& w : writers) {
      QTest::newRow(QByteArray(QByteArray(w.name) + ", small").constData()) << int(w.writer) << 3000 << w.message;
      QTest::newRow(QByteArray(QByteArray(w.name) + ", large").constData()) << int(w.writer) << 40000 << w.message;
    }
  }
  void incompleteWritesReplaceNothing() {
    QFETCH(int, writer);
    QFETCH(int, size);
    QFETCH(QString, message);
    QTemporaryDir root;
    const QString folder = root.filePath(u"Lyrova"_qs);
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + u"/Lyrova.ini"_qs;
    QVERIFY(lyricstest::WriteFile(path, "[Set]\nKeep=old\n"));
    WriteThrough through(Writer(writer), path, root.path());
    QVERIFY(through.Ready());
    const QByteArray before = lyricstest::ReadFile(path);
    const QStringList entries = Entries(folder);

    QString error;
    bool ok = true;
    {
      const testing::FileSizeLimit limit(1024);
      QVERIFY(limit.Active());
      ok = through.Write(size, &error);
    }
    QVERIFY(!ok);
    QCOMPARE(error, QString(message).replace(u'@', path));
    QCOMPARE(lyricstest::ReadFile(path), before);
    QCOMPARE(Entries(folder), entries);
    // Without the limit the same write goes through.
    QVERIFY(through.Write(size, &error));
    QVERIFY(lyricstest::ReadFile(path).size() > 1024);
  }

  void replacementKeepsModeOwnerAndLinks() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"song.lrc"_qs);
    QVERIFY(lyricstest::WriteFile(path, "old"));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
    QVERIFY(WriteWholeFile(path, "new", nullptr));
    QCOMPARE(StatOf(path).st_mode & 07777, mode_t(0640));

    // A read-only file: root may replace it, but it stays read-only; anybody else may not.
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
    QString error;
    const bool root = ::geteuid() == 0;
    QCOMPARE(WriteWholeFile(path, "newer", &error), root);
    QCOMPARE(lyricstest::ReadFile(path), root ? QByteArray("newer") : QByteArray("new"));
    QCOMPARE(StatOf(path).st_mode & 07777, mode_t(0444));
    if (!root) QCOMPARE(error, QString::fromLocal8Bit(std::strerror(EACCES)));

    if (root) {  // another user's file stays theirs
      QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
      QVERIFY(WriteWholeFile(path, "theirs", nullptr));
      QCOMPARE(StatOf(path).st_uid, uid_t(65534));
      QCOMPARE(StatOf(path).st_gid, gid_t(65534));
    }

    // A symbolic link stays a link; the file it points to gets the new contents.
    const QString link = dir.filePath(u"link.lrc"_qs);
    QVERIFY(QFile::link(u"song.lrc"_qs, link));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    QVERIFY(WriteWholeFile(link, "through the link", nullptr));
    QVERIFY(S_ISLNK(StatOf(link).st_mode));
    QCOMPARE(lyricstest::ReadFile(path), QByteArray("through the link"));

    // A new file gets what the umask gives.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    QVERIFY(WriteWholeFile(dir.filePath(u"new.lrc"_qs), "x", nullptr));
    QCOMPARE(StatOf(dir.filePath(u"new.lrc"_qs)).st_mode & 07777, mode_t(0666 & ~mask));
    QCOMPARE(Entries(dir.path()), QStringList({u"link.lrc"_qs, u"new.lrc"_qs, u"song.lrc"_qs}));
  }

  // A pipe where a file is expected is refused at once: opening it for reading would wait for a
  // writer for ever. A link to a regular file is read as the file.
  void onlyRegularFilesAreRead() {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(u"pipe.lrc"_qs);
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    const QString pipeLink = dir.filePath(u"pipe-link.lrc"_qs);
    QVERIFY(QFile::link(pipe, pipeLink));
    for (const QString& path : {pipe, pipeLink}) {
      QByteArray bytes;
      QString error;
      QVERIFY(!ReadWholeFile(path, &bytes, &error));
      QCOMPARE(error, NotRegularFileText());
      QVERIFY(!ReadTextLines(path));
      LyricsDocument doc;
      QString message;
      QVERIFY(!LoadLrc(doc, path, ReaderMode::Editor, &message));
      QCOMPARE(message, u"装入歌词时遇到错误,不是普通文件"_qs);
      QVERIFY(!WriteWholeFile(path, "x", &error));
      QCOMPARE(error, NotRegularFileText());
    }
    QVERIFY(S_ISFIFO(StatOf(pipe).st_mode));

    const QString file = dir.filePath(u"song.lrc"_qs);
    QVERIFY(lyricstest::WriteFile(file, "[00:01.00]one\r\n"));
    const QString link = dir.filePath(u"link.lrc"_qs);
    QVERIFY(QFile::link(file, link));
    QCOMPARE(ReadTextLines(link), std::optional<QStringList>(QStringList{u"[00:01.00]one"_qs}));
  }
};

QTEST_GUILESS_MAIN(TestCheckedFiles)
#include "tst_checkedfiles.moc"
