#include "player/shell/filemanagerentry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

namespace {

QString ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The raw value of a key of the desktop entry (the text after "key=").
QString RawValue(const QString& entry, const QString& key) {
  for (const QString& line : entry.split(u'\n'))
    if (line.startsWith(key + u'=')) return line.mid(key.size() + 1);
  return {};
}

// What a launcher makes of a value of type string.
QString UnescapeString(const QString& raw) {
  QString out;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    if (raw.at(i) != u'\\' || i + 1 == raw.size()) {
      out += raw.at(i);
      continue;
    }
    const QChar next = raw.at(++i);
    if (next == u's') out += u' ';
    else if (next == u'n') out += u'\n';
    else if (next == u't') out += u'\t';
    else if (next == u'r') out += u'\r';
    else if (next == u'\\') out += u'\\';
    else out += u'\\' + QString(next);
  }
  return out;
}

// What a launcher makes of an Exec value: the arguments, with "%%" as "%" and a field code
// such as "%f" kept as written.
QStringList SplitExec(const QString& exec) {
  QStringList args;
  QString current;
  bool inArg = false;
  bool quoted = false;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    const QChar ch = exec.at(i);
    if (ch == u'%' && i + 1 < exec.size()) {
      const QChar code = exec.at(++i);
      current += code == u'%' ? QStringLiteral("%") : u'%' + QString(code);
      inArg = true;
    } else if (quoted) {
      if (ch == u'"') {
        quoted = false;
      } else if (ch == u'\\' && i + 1 < exec.size() && QStringLiteral("\"`$\\").contains(exec.at(i + 1))) {
        current += exec.at(++i);
      } else {
        current += ch;
      }
    } else if (ch == u' ') {
      if (inArg) args << current;
      current.clear();
      inArg = false;
    } else if (ch == u'"') {
      quoted = true;
      inArg = true;
    } else {
      current += ch;
      inArg = true;
    }
  }
  if (inArg) args << current;
  return args;
}

}  // namespace

class TestFileManagerEntry : public QObject {
  Q_OBJECT

  QTemporaryDir dataHome_;

 private slots:
  // The entry must never land in the real user's folder, also when the test runs by hand.
  void initTestCase() {
    QVERIFY(dataHome_.isValid());
    qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
  }

  void execLine_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("execLine");
    QTest::newRow("plain") << "/opt/Lyrova/lyrova" << "Exec=\"/opt/Lyrova/lyrova\" %f";
    QTest::newRow("blanks") << "/home/u/My Apps/lyrova" << "Exec=\"/home/u/My Apps/lyrova\" %f";
    QTest::newRow("double quote") << "/a\"b/lyrova" << "Exec=\"/a\\\\\"b/lyrova\" %f";
    QTest::newRow("dollar") << "/a$b/lyrova" << "Exec=\"/a\\\\$b/lyrova\" %f";
    QTest::newRow("backtick") << "/a`b/lyrova" << "Exec=\"/a\\\\`b/lyrova\" %f";
    QTest::newRow("backslash") << "/a\\b/lyrova" << "Exec=\"/a\\\\\\\\b/lyrova\" %f";
    QTest::newRow("percent") << "/50%/lyrova" << "Exec=\"/50%%/lyrova\" %f";
    QTest::newRow("single quote") << "/a'b/lyrova" << "Exec=\"/a'b/lyrova\" %f";
    QTest::newRow("chinese") << "/歌曲 工具/lyrova" << "Exec=\"/歌曲 工具/lyrova\" %f";
    QTest::newRow("line feed") << "/a\nb/lyrova" << "Exec=\"/a\\nb/lyrova\" %f";
  }
  void execLine() {
    QFETCH(QString, program);
    QFETCH(QString, execLine);
    const QString entry = DesktopEntryText(program);
    QCOMPARE(QStringLiteral("Exec=") + RawValue(entry, QStringLiteral("Exec")), execLine);
    // Read back as a launcher reads it, the line names the program and one file argument.
    const QStringList args = SplitExec(UnescapeString(RawValue(entry, QStringLiteral("Exec"))));
    QCOMPARE(args, (QStringList{program, QStringLiteral("%f")}));
    QCOMPARE(UnescapeString(RawValue(entry, QStringLiteral("TryExec"))), program);
  }

  void entryKeys() {
    const QString entry = DesktopEntryText(QStringLiteral("/opt/Lyrova/lyrova"));
    QVERIFY(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    QCOMPARE(RawValue(entry, QStringLiteral("Name")), QStringLiteral("用Lyrova打开"));
    QCOMPARE(RawValue(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(RawValue(entry, QStringLiteral("NoDisplay")), QStringLiteral("true"));
    QCOMPARE(RawValue(entry, QStringLiteral("Terminal")), QStringLiteral("false"));
    const QString mime = RawValue(entry, QStringLiteral("MimeType"));
    QVERIFY(mime.endsWith(u';'));
    const QStringList types = mime.split(u';', Qt::SkipEmptyParts);
    for (const char* type : {"audio/mpeg", "audio/ogg", "audio/x-wav", "audio/flac", "audio/aac", "audio/x-ms-wma",
                             "audio/midi", "audio/ac3", "audio/vnd.dts"})
      QVERIFY2(types.contains(QString::fromLatin1(type)), type);
    QCOMPARE(types, FileManagerMimeTypes());
    // A relative program path is made absolute: the file manager starts it from anywhere.
    const QString relative = DesktopEntryText(QStringLiteral("bin/lyrova"));
    QCOMPARE(SplitExec(UnescapeString(RawValue(relative, QStringLiteral("Exec")))).first(),
             QDir::current().absoluteFilePath(QStringLiteral("bin/lyrova")));
  }

  void addTwiceRemoveTwice() {
    QTemporaryDir home;
    const QString apps = home.filePath(QStringLiteral("applications"));
    const QString program = home.filePath(QStringLiteral("My Programs/lyrova"));
    const QString entry = apps + QStringLiteral("/lyrova-open.desktop");
    const QString cache = apps + QStringLiteral("/mimeinfo.cache");

    QVERIFY(AddFileManagerEntry(program, apps));
    QCOMPARE(ReadAll(entry), DesktopEntryText(program));
    const QString cacheAfterFirst = ReadAll(cache);
    QVERIFY(cacheAfterFirst.startsWith(QStringLiteral("[MIME Cache]\naudio/mpeg=lyrova-open.desktop;\n")));

    QVERIFY(AddFileManagerEntry(program, apps));
    QCOMPARE(QDir(apps).entryList(QDir::Files), (QStringList{QStringLiteral("lyrova-open.desktop"),
                                                             QStringLiteral("mimeinfo.cache")}));
    QCOMPARE(ReadAll(entry), DesktopEntryText(program));
    QCOMPARE(ReadAll(cache), cacheAfterFirst);

    QVERIFY(RemoveFileManagerEntry(apps));
    QVERIFY(!QFileInfo::exists(entry));
    QVERIFY(!ReadAll(cache).contains(QStringLiteral("lyrova-open.desktop")));
    const QString cacheAfterRemove = ReadAll(cache);
    QVERIFY(RemoveFileManagerEntry(apps));
    QCOMPARE(ReadAll(cache), cacheAfterRemove);
    QCOMPARE(QDir(apps).entryList(QDir::Files), QStringList{QStringLiteral("mimeinfo.cache")});
  }

  void removeWithoutEntryChangesNothing() {
    QTemporaryDir home;
    QVERIFY(RemoveFileManagerEntry(home.filePath(QStringLiteral("applications"))));
    QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral("applications"))));
    const QByteArray other = "[MIME Cache]\naudio/mpeg=player.desktop;\n";
    QVERIFY(WriteAll(home.filePath(QStringLiteral("mimeinfo.cache")), other));
    QVERIFY(RemoveFileManagerEntry(home.path()));
    QCOMPARE(ReadAll(home.filePath(QStringLiteral("mimeinfo.cache"))).toUtf8(), other);
  }

  void defaultFolderIsDataHome() {
    const QString apps = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/applications");
    QVERIFY(apps.startsWith(dataHome_.path()));
    QCOMPARE(ApplicationsFolder(), apps);
    QVERIFY(AddFileManagerEntry(QStringLiteral("/opt/Lyrova/lyrova")));
    QVERIFY(QFileInfo::exists(apps + QStringLiteral("/lyrova-open.desktop")));
    QVERIFY(RemoveFileManagerEntry());
    QVERIFY(!QFileInfo::exists(apps + QStringLiteral("/lyrova-open.desktop")));
  }

  void unwritableFolderFailsQuietly() {
    QTemporaryDir home;
    QVERIFY(WriteAll(home.filePath(QStringLiteral("plainfile")), "x"));
    const QString apps = home.filePath(QStringLiteral("plainfile/applications"));
    QVERIFY(!AddFileManagerEntry(QStringLiteral("/opt/Lyrova/lyrova"), apps));
    QVERIFY(RemoveFileManagerEntry(apps));
  }

  void mimeCache_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("add");
    QTest::addColumn<QString>("after");
    QTest::newRow("empty") << "" << true << "[MIME Cache]\naudio/mpeg=me.desktop;\naudio/ogg=me.desktop;\n";
    QTest::newRow("others kept")
        << "[MIME Cache]\naudio/mpeg=vlc.desktop;\ntext/plain=vim.desktop;\n" << true
        << "[MIME Cache]\naudio/mpeg=vlc.desktop;me.desktop;\ntext/plain=vim.desktop;\naudio/ogg=me.desktop;\n";
    QTest::newRow("already listed") << "[MIME Cache]\naudio/mpeg=me.desktop;\naudio/ogg=a.desktop;me.desktop;\n"
                                    << true << "[MIME Cache]\naudio/mpeg=me.desktop;\naudio/ogg=a.desktop;me.desktop;\n";
    QTest::newRow("other group after")
        << "[MIME Cache]\naudio/mpeg=vlc.desktop\n[Other]\naudio/ogg=x;\n" << true
        << "[MIME Cache]\naudio/mpeg=vlc.desktop;me.desktop;\naudio/ogg=me.desktop;\n[Other]\naudio/ogg=x;\n";
    QTest::newRow("remove keeps others")
        << "[MIME Cache]\naudio/mpeg=vlc.desktop;me.desktop;\naudio/ogg=me.desktop;\ntext/plain=me.desktop;\n" << false
        << "[MIME Cache]\naudio/mpeg=vlc.desktop;\ntext/plain=me.desktop;\n";
    QTest::newRow("remove absent") << "[MIME Cache]\naudio/mpeg=vlc.desktop;" << false
                                   << "[MIME Cache]\naudio/mpeg=vlc.desktop;";
    QTest::newRow("remove without group") << "junk" << false << "junk";
  }
  void mimeCache() {
    QFETCH(QString, before);
    QFETCH(bool, add);
    QFETCH(QString, after);
    const QStringList types{QStringLiteral("audio/mpeg"), QStringLiteral("audio/ogg")};
    QCOMPARE(UpdatedMimeCache(before, QStringLiteral("me.desktop"), types, add), after);
  }

  // A real launcher (GLib's gio) starts the program through the entry, from a folder whose
  // name holds blanks, quotes, a backslash, "$" and "`", and lists it for audio/mpeg.
  void launchThroughGio() {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) QSKIP("gio is not installed");
    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("My \"Lyrova\" $HOME `x` \\z 'q'"));
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/lyrova");
    const QString out = work.filePath(QStringLiteral("args.txt"));
    QVERIFY(WriteAll(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$LYROVA_ARGS_OUT.tmp\" && mv \"$LYROVA_ARGS_OUT.tmp\" "
                              "\"$LYROVA_ARGS_OUT\"\n"));
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QTemporaryDir home;
    const QString apps = home.filePath(QStringLiteral("applications"));
    QVERIFY(AddFileManagerEntry(program, apps));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_DIRS"), home.filePath(QStringLiteral("none")));
    env.insert(QStringLiteral("LYROVA_ARGS_OUT"), out);
    const QString song = QStringLiteral("/音乐/我的 歌 $1.mp3");
    QProcess launch;
    launch.setProcessEnvironment(env);
    launch.start(gio, {QStringLiteral("launch"), apps + QStringLiteral("/lyrova-open.desktop"), song});
    QVERIFY(launch.waitForFinished(10000));
    QCOMPARE(launch.exitCode(), 0);
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(out) && clock.elapsed() < 10000) QTest::qWait(50);
    QCOMPARE(ReadAll(out), song + u'\n');

    QProcess mime;
    mime.setProcessEnvironment(env);
    mime.start(gio, {QStringLiteral("mime"), QStringLiteral("audio/mpeg")});
    QVERIFY(mime.waitForFinished(10000));
    QVERIFY2(QString::fromUtf8(mime.readAllStandardOutput()).contains(QStringLiteral("lyrova-open.desktop")),
             "the entry is not registered for audio/mpeg");
  }
};

QTEST_GUILESS_MAIN(TestFileManagerEntry)
#include "tst_filemanagerentry.moc"
