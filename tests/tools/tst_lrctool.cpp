// Runs the built lrctool over fixture files and checks its JSON, its files and its exit codes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

QString Tool() { return QCoreApplication::applicationDirPath() + u"/../bin/lrctool"_qs; }

QString Fixture(const QString& name) { return QStringLiteral(LYROVA_TEST_DATA_DIR "/") + name; }

Result Run(const QStringList& args) {
  QProcess process;
  process.start(Tool(), args);
  Result result;
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
    return result;
  result.exitCode = process.exitCode();
  result.out = process.readAllStandardOutput();
  result.err = process.readAllStandardError();
  return result;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// `1000 "text"` per line, joined by " | "; "~" marks an untimed line when the line has "timed".
QString DescribeLines(const QJsonArray& lines) {
  QStringList parts;
  for (const QJsonValue& value : lines) {
    const QJsonObject line = value.toObject();
    const bool untimed = line.contains(u"timed"_qs) && !line.value(u"timed"_qs).toBool();
    parts.append((untimed ? u"~"_qs : QString()) +
                 QString::number(line.value(u"time"_qs).toInteger()) + u" \""_qs +
                 line.value(u"text"_qs).toString() + u'"');
  }
  return parts.join(u" | "_qs);
}

const QRegularExpression kEditorLine(
    uR"re(^\{"time": -?\d+, "text": "(?:[^"\\]|\\.)*", "timed": (?:true|false)\}$)re"_qs);
const QRegularExpression kPlayerLine(uR"re(^\{"time": -?\d+, "text": "(?:[^"\\]|\\.)*"\}$)re"_qs);

}  // namespace

class TestLrcTool : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY2(QFile::exists(Tool()), qPrintable(Tool())); }

  void dump_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("player");
    QTest::addColumn<QString>("lines");
    const auto add = [](const char* fixture, const QString& editor, const QString& player) {
      QTest::addRow("editor: %s", fixture) << QString::fromLatin1(fixture) << false << editor;
      QTest::addRow("player: %s", fixture) << QString::fromLatin1(fixture) << true << player;
    };
    add("two_tags.lrc", u"5000 \"B\" | 5000 \"A\" | 12340 \"Hello\" | 62000 \"Hello\""_qs,
        u"0 \"\" | 5000 \"B\" | 5000 \"A\" | 12340 \"Hello\" | 62000 \"Hello\""_qs);
    add("fractions.lrc",
        u"62000 \"a\" | 62300 \"d\" | ~62300 \"e\" | ~62300 \"f\" | 62500 \"b\" | 62500 \"c\""_qs,
        u"0 \"\" | 62000 \"a\" | 62300 \"d\" | 62500 \"b\" | 62500 \"c\""_qs);
    add("info.lrc", u"10000 \"Hi\""_qs, u"0 \"\" | 10000 \"Hi\""_qs);
    add("offset_2000.lrc", u"-1000 \"a\" | 1000 \"b\""_qs, u"0 \"a\" | 1000 \"b\""_qs);
    add("offset_eleven.lrc", u"~0 \"\" | 1000 \"a\""_qs, u"0 \"\" | 1000 \"a\""_qs);
    add("leading_breaks.lrc", u"~0 \"\" | 1000 \"a\""_qs, u"0 \"\" | 1000 \"a\""_qs);
    add("first_at_3s.lrc", u"3000 \"first\" | 4000 \"second\""_qs,
        u"0 \"\" | 3000 \"first\" | 4000 \"second\""_qs);
    add("negative.lrc", u"-1500 \"a\" | 1000 \"b\""_qs, u"0 \"a\" | 1000 \"b\""_qs);
    add("past_100_minutes.lrc", u"301000 \"early\" | 6240000 \"late\""_qs,
        u"0 \"\" | 301000 \"early\" | 6240000 \"late\""_qs);
    const QString chinese = u"1000 \"第一句\" | 2000 \"副歌\" | 3000 \"第二句\" | 4000 \"副歌\""_qs;
    for (const char* name : {"chinese_gbk.lrc", "chinese_utf8.lrc", "chinese_bom.lrc"})
      add(name, chinese, u"0 \"\" | "_qs + chinese);
  }
  void dump() {
    QFETCH(QString, fixture);
    QFETCH(bool, player);
    QFETCH(QString, lines);
    QStringList args{u"dump"_qs};
    if (player) args << u"--player"_qs;
    const Result result = Run(args << Fixture(fixture));
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.err.isEmpty(), result.err.constData());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(result.out, &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QVERIFY(json.isObject());
    QCOMPARE(DescribeLines(json.object().value(u"lines"_qs).toArray()), lines);
    QVERIFY(result.out.endsWith("]}\n"));
  }

  void dumpInfoFields_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QStringList>("fields");  // title, artist, album, by, offset
    QTest::newRow("info") << u"info.lrc"_qs
                          << QStringList{u"x"_qs, u"Someone"_qs, u"专辑"_qs, u"me"_qs, u"0"_qs};
    QTest::newRow("offset 500") << u"offset_plus.lrc"_qs << QStringList{{}, {}, {}, {}, u"500"_qs};
    QTest::newRow("offset clamped") << u"offset_clamp.lrc"_qs
                                    << QStringList{{}, {}, {}, {}, u"-300000"_qs};
    QTest::newRow("eleven-digit offset ignored") << u"offset_eleven.lrc"_qs
                                                 << QStringList{{}, {}, {}, {}, u"0"_qs};
    for (const char* name : {"chinese_gbk.lrc", "chinese_utf8.lrc", "chinese_bom.lrc"})
      QTest::newRow(name) << QString::fromLatin1(name)
                          << QStringList{u"月光下的歌"_qs, u"无名"_qs, {}, {}, u"0"_qs};
    QTest::newRow("escapes") << u"escapes.lrc"_qs
                             << QStringList{u"a \"quoted\" \\ title"_qs, {}, {}, {}, u"0"_qs};
  }
  void dumpInfoFields() {
    QFETCH(QString, fixture);
    QFETCH(QStringList, fields);
    for (const bool player : {false, true}) {
      QStringList args{u"dump"_qs};
      if (player) args << u"--player"_qs;
      const Result result = Run(args << Fixture(fixture));
      QCOMPARE(result.exitCode, 0);
      const QJsonObject json = QJsonDocument::fromJson(result.out).object();
      QCOMPARE((QStringList{json.value(u"title"_qs).toString(), json.value(u"artist"_qs).toString(),
                            json.value(u"album"_qs).toString(), json.value(u"by"_qs).toString(),
                            QString::number(json.value(u"offset"_qs).toInteger())}),
               fields);
    }
  }

  // Header tags the reader does not interpret are listed in file order; the Player has none.
  void dumpHeaderTags() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tags.lrc"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[kuwo:881]\r\n[ti:x]\r\n[Length: 03:20]\r\n[00:01.00]a\r\n");
    file.close();
    const QJsonObject editor = QJsonDocument::fromJson(Run({u"dump"_qs, path}).out).object();
    QCOMPARE(editor.value(u"tags"_qs).toArray(),
             (QJsonArray{QJsonArray{u"kuwo"_qs, u"881"_qs}, QJsonArray{u"Length"_qs, u" 03:20"_qs}}));
    const QJsonObject player = QJsonDocument::fromJson(Run({u"dump"_qs, u"--player"_qs, path}).out).object();
    QVERIFY(!player.contains(u"tags"_qs));
  }

  // The Player's lines give their words with times from the song's start, the offset applied;
  // the Editor's keep the tags in the text.
  void dumpWordTiming() {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"words.lrc"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[offset:-1000]\r\n[00:01.00]<00:01.00>逐<00:01.505>字<00:02.00>\r\n[00:03.00]无\r\n");
    file.close();
    const Result player = Run({u"dump"_qs, u"--player"_qs, path});
    QCOMPARE(player.exitCode, 0);
    QCOMPARE(QString::fromUtf8(player.out),
             uR"({"title": "", "artist": "", "album": "", "by": "", "offset": -1000, "lines": [)"
             uR"({"time": 0, "text": ""}, {"time": 2000, "text": "逐字", "words": [)"
             uR"({"time": 2000, "text": "逐"}, {"time": 2505, "text": "字"}, {"time": 3000, "text": ""}]}, )"
             uR"({"time": 4000, "text": "无"}]})"
             u"\n"_qs);
    const QJsonArray editor =
        QJsonDocument::fromJson(Run({u"dump"_qs, path}).out).object().value(u"lines"_qs).toArray();
    QCOMPARE(editor.at(0).toObject().value(u"text"_qs).toString(), u"<00:01.00>逐<00:01.505>字<00:02.00>"_qs);
    QVERIFY(!editor.at(0).toObject().contains(u"words"_qs));
  }

  // The keys come in a fixed order, and the Player's lines have no "timed".
  void dumpLayout_data() {
    QTest::addColumn<bool>("player");
    QTest::newRow("editor") << false;
    QTest::newRow("player") << true;
  }
  void dumpLayout() {
    QFETCH(bool, player);
    QStringList args{u"dump"_qs};
    if (player) args << u"--player"_qs;
    const Result result = Run(args << Fixture(u"chinese_gbk.lrc"_qs));
    QCOMPARE(result.exitCode, 0);
    const QString out = QString::fromUtf8(result.out);
    QVERIFY(out.startsWith(u"{\"title\": \"月光下的歌\", \"artist\": \"无名\", \"album\": \"\", "
                           "\"by\": \"\", \"offset\": 0, "_qs + (player ? QString() : u"\"tags\": [], "_qs) +
                           u"\"lines\": ["_qs));
    const QJsonArray lines = QJsonDocument::fromJson(result.out).object().value(u"lines"_qs).toArray();
    QCOMPARE(lines.size(), player ? 5 : 4);
    // Each line object as written, split at the "}, {" between them.
    const QString body = out.section(u"\"lines\": ["_qs, 1).chopped(3);
    const QStringList objects = body.split(u"}, {"_qs);
    QCOMPARE(objects.size(), lines.size());
    for (qsizetype i = 0; i < objects.size(); ++i) {
      QString object = objects[i];
      if (i > 0) object.prepend(u'{');
      if (i + 1 < objects.size()) object.append(u'}');
      QVERIFY2((player ? kPlayerLine : kEditorLine).match(object).hasMatch(), qPrintable(object));
    }
  }

  void dumpEscapes() {
    const Result result = Run({u"dump"_qs, Fixture(u"escapes.lrc"_qs)});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains(R"("text": "say \"hi\" \\ back\tslash\u0001")"), result.out.constData());
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(json.value(u"lines"_qs).toArray().at(0).toObject().value(u"text"_qs).toString(),
             u"say \"hi\" \\ back\tslash\u0001"_qs);
  }

  void save_data() {
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<QByteArray>("bytes");  // empty: the fixture's own bytes
    QTest::newRow("negative times get their offset back") << u"negative.lrc"_qs << false << QByteArray();
    QTest::newRow("expanded, untimed line at its place") << u"compress_me.lrc"_qs << false << QByteArray();
    QTest::newRow("compressed folds equal texts")
        << u"compress_fold.lrc"_qs << true << QByteArray("[00:01.00][00:03.00]A\r\nplain\r\n[00:02.00]B\r\n");
    QTest::newRow("compressed: a line an untimed line follows is not folded")
        << u"compress_me.lrc"_qs << true << QByteArray();
    QTest::newRow("expanded, one tag per line")
        << u"two_tags.lrc"_qs << false
        << QByteArray("[00:05.00]B\r\n[00:05.00]A\r\n[00:12.34]Hello\r\n[01:02.00]Hello\r\n");
    QTest::newRow("100 minutes and more untagged")
        << u"past_100_minutes.lrc"_qs << false << QByteArray("[05:01.00]early\r\nlate\r\n");
    QTest::newRow("info fields, other header tags and empty untimed lines")
        << u"info.lrc"_qs << false
        << QByteArray("[ti:x]\r\n[ar:Someone]\r\n[al:\xe4\xb8\x93\xe8\xbe\x91]\r\n[by:me]\r\n"
                      "[re:tool]\r\n[00:10.00]Hi\r\n");
    QTest::newRow("gbk stays gbk") << u"chinese_gbk.lrc"_qs << true << QByteArray();
    QTest::newRow("utf-8 stays utf-8") << u"chinese_utf8.lrc"_qs << true << QByteArray();
    QTest::newRow("mark stays") << u"chinese_bom.lrc"_qs << true << QByteArray();
  }
  void save() {
    QFETCH(QString, fixture);
    QFETCH(bool, compressed);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString out = dir.filePath(u"out.lrc"_qs);
    QStringList args{u"save"_qs};
    if (compressed) args << u"--compressed"_qs;
    const Result result = Run(args << Fixture(fixture) << out);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.isEmpty());
    QCOMPARE(ReadFile(out), bytes.isEmpty() ? ReadFile(Fixture(fixture)) : bytes);
  }

  void pathsWithAnyCharacters() {
    QTemporaryDir dir;
    const QString in = dir.filePath(u"歌 词 [1] 'x'.lrc"_qs);
    const QString out = dir.filePath(u"输出 file -2.lrc"_qs);
    QVERIFY(QFile::copy(Fixture(u"chinese_gbk.lrc"_qs), in));
    Result result = Run({u"save"_qs, u"--compressed"_qs, in, out});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(ReadFile(out), ReadFile(in));
    result = Run({u"dump"_qs, out});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(result.out).object().value(u"title"_qs).toString(),
             u"月光下的歌"_qs);
    // "--" lets a file name start with "-".
    QVERIFY(QFile::copy(in, dir.filePath(u"-dash.lrc"_qs)));
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(Tool(), {u"dump"_qs, u"--player"_qs, u"--"_qs, u"-dash.lrc"_qs});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QJsonDocument::fromJson(process.readAllStandardOutput())
                 .object().value(u"lines"_qs).toArray().size(), 5);
  }

  void failures_data() {
    QTest::addColumn<QStringList>("args");  // "@" stands for a fresh temporary folder
    QTest::addColumn<QString>("message");
    QTest::newRow("dump missing file")
        << QStringList{u"dump"_qs, u"@/missing.lrc"_qs}
        << u"装入歌词时遇到错误,No such file or directory\n"_qs;
    QTest::newRow("dump folder") << QStringList{u"dump"_qs, u"@"_qs}
                                 << u"装入歌词时遇到错误,Is a directory\n"_qs;
    QTest::newRow("dump offset overflow")
        << QStringList{u"dump"_qs, Fixture(u"overflow.lrc"_qs)}
        << u"装入歌词时遇到错误,数值溢出 [offset:9999999999]\n"_qs;
    QTest::newRow("player dump missing file")
        << QStringList{u"dump"_qs, u"--player"_qs, u"@/missing.lrc"_qs}
        << u"歌词读取失败:@/missing.lrc\n"_qs;
    QTest::newRow("save missing input")
        << QStringList{u"save"_qs, u"@/missing.lrc"_qs, u"@/out.lrc"_qs}
        << u"装入歌词时遇到错误,No such file or directory\n"_qs;
    QTest::newRow("save into missing folder")
        << QStringList{u"save"_qs, Fixture(u"two_tags.lrc"_qs), u"@/no/out.lrc"_qs}
        << u"保存歌词时遇到错误,No such file or directory\n"_qs;
    QTest::newRow("save over a folder")
        << QStringList{u"save"_qs, Fixture(u"two_tags.lrc"_qs), u"@"_qs}
        << u"保存歌词时遇到错误,Is a directory\n"_qs;
  }
  void failures() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QTemporaryDir dir;
    for (QString& arg : args) arg.replace(u'@', dir.path());
    message.replace(u'@', dir.path());
    const Result result = Run(args);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(QString::fromUtf8(result.err), message);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
  }

  // A name whose bytes are not UTF-8 can only be handed over through a shell here (QProcess
  // encodes its arguments); printf's "\377" is the byte 0xff. Qt's decoding would turn it into
  // "in\uFFFD.lrc", which exists too: each such name is refused and nothing is written.
  void unreadableNamesAreRefused_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    const QString open = u"文件名含有无法识别的字符，无法打开:"_qs;
    QTest::newRow("save output") << u"save in.lrc \"$(printf 'out\\377.lrc')\""_qs
                                 << u"文件名含有无法识别的字符，无法保存:out\uFFFD.lrc\n"_qs;
    QTest::newRow("save input") << u"save \"$(printf 'in\\377.lrc')\" out.lrc"_qs
                                << open + u"in\uFFFD.lrc\n"_qs;
    QTest::newRow("dump") << u"dump \"$(printf 'in\\377.lrc')\""_qs << open + u"in\uFFFD.lrc\n"_qs;
  }
  void unreadableNamesAreRefused() {
    QFETCH(QString, command);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    // Made with POSIX calls, which take names as bytes; listed the same way, since Qt's listing
    // shows the odd name as its lookalike. Removed the same way too: QTemporaryDir cannot remove
    // a name that does not decode, and would leave the folder behind.
    const QList<QByteArray> made{"in.lrc", "in\xef\xbf\xbd.lrc", "in\xff.lrc"};
    const auto removeNames = qScopeGuard([&] {
      for (const QByteArray& name : made) ::unlink(QByteArray(folder + '/' + name).constData());
    });
    for (const QByteArray& name : made) {
      const QByteArray path = folder + '/' + name;
      const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
      QVERIFY(fd >= 0);
      QCOMPARE(::write(fd, "[00:01.00]x\n", 11), ssize_t(11));
      ::close(fd);
    }
    const auto entries = [&folder] {
      QList<QByteArray> names;
      DIR* listing = ::opendir(folder.constData());
      while (const dirent* entry = listing ? ::readdir(listing) : nullptr)
        if (entry->d_name[0] != '.') names.append(entry->d_name);
      if (listing) ::closedir(listing);
      std::sort(names.begin(), names.end());
      return names;
    };
    const QList<QByteArray> before = entries();
    QCOMPARE(before.size(), 3);
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(u"/bin/sh"_qs, {u"-c"_qs, u"exec \"$0\" "_qs + command, Tool()});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), message);
    QCOMPARE(entries(), before);
  }

  void usage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList{u"frob"_qs, Fixture(u"two_tags.lrc"_qs)};
    QTest::newRow("dump without file") << QStringList{u"dump"_qs};
    QTest::newRow("dump with two files")
        << QStringList{u"dump"_qs, Fixture(u"two_tags.lrc"_qs), Fixture(u"info.lrc"_qs)};
    QTest::newRow("dump with unknown option")
        << QStringList{u"dump"_qs, u"--bogus"_qs, Fixture(u"two_tags.lrc"_qs)};
    QTest::newRow("dump option after the file")
        << QStringList{u"dump"_qs, Fixture(u"two_tags.lrc"_qs), u"--player"_qs};
    QTest::newRow("save with one file") << QStringList{u"save"_qs, Fixture(u"two_tags.lrc"_qs)};
    QTest::newRow("save with the player option")
        << QStringList{u"save"_qs, u"--player"_qs, Fixture(u"two_tags.lrc"_qs), u"out.lrc"_qs};
    QTest::newRow("save with three files")
        << QStringList{u"save"_qs, Fixture(u"two_tags.lrc"_qs), u"a.lrc"_qs, u"b.lrc"_qs};
  }
  void usage() {
    QFETCH(QStringList, args);
    const Result result = Run(args);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.startsWith("usage: lrctool dump [--player] FILE\n"));
  }
};

QTEST_GUILESS_MAIN(TestLrcTool)
#include "tst_lrctool.moc"
