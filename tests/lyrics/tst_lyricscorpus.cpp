// The real-world corpus (tests/lyrics/corpus): lyrics files other programs and people wrote.
// Every file must load in both modes and survive a save; expected.tsv, written from the bytes
// alone by bench/lyrics/corpus_expectations.py, says what a user expects of each file.
#include "lyrics/lrcreader.h"
#include "lyrics/lrcwriter.h"

#include "lyricstestutil.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace lyrova;

namespace {

// Which columns of expected.tsv the reader is held to. A column is switched on by the change
// that makes the reader meet it on every file; until then only what holds today is checked.
struct ExpectedColumns {
  // timed_lines, player_ms_sum, shared_times: three-digit fractions as milliseconds, UTF-16 files
  // read, keywords in any letter case (offset).
  bool timedLines = true;
  // offset: keywords in any letter case.
  bool offset = true;
  // word_tags: needs the Player's text without word tags.
  bool wordTags = true;
  // unknown_tags: unknown metadata lines kept by the Editor and written back.
  bool unknownTags = true;
};
constexpr ExpectedColumns kChecked;

QString CorpusDir() { return QStringLiteral(LYROVA_SOURCE_DIR "/tests/lyrics/corpus"); }

using ExpectedRow = QHash<QString, QString>;

// The rows of expected.tsv by file name; empty when the table cannot be read.
QHash<QString, ExpectedRow> ReadExpected() {
  QHash<QString, ExpectedRow> rows;
  QFile file(CorpusDir() + QStringLiteral("/expected.tsv"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return rows;
  const QStringList header = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
  while (!file.atEnd()) {
    const QStringList cells = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
    if (cells.size() != header.size()) continue;
    ExpectedRow row;
    for (qsizetype i = 0; i < header.size(); ++i) row.insert(header[i], cells[i]);
    rows.insert(row.value(QStringLiteral("file")), row);
  }
  return rows;
}

qint64 Column(const ExpectedRow& row, const char* name) {
  return row.value(QString::fromLatin1(name)).toLongLong();
}

// Lines a save cannot carry: an untimed line with no text is written as a blank line, and the
// reader skips blank lines. They come from breaks at the start of a file and from lines of tags
// that are neither times nor header tags ("[00:60.00]", "[a:1][b:2]"); they hold nothing.
QList<LyricLine> SavableLines(const LyricsDocument& doc) {
  QList<LyricLine> lines;
  for (const LyricLine& line : doc.lines)
    if (line.timed || !line.text.isEmpty()) lines.append(line);
  return lines;
}

// Compares the Player's reading with the file's row of expected.tsv, column by column as far as
// kChecked allows. `editor` is the Editor's reading of the same file.
void CheckExpectations(const LyricsDocument& player, const LyricsDocument& editor,
                       const ExpectedRow& row) {
  // The Player puts an empty line at 0 ms before a later first lyric; it is not in the file.
  // It was added exactly when no line of the file is timed at or before 0 ms.
  QList<LyricLine> lines = player.lines;
  const bool fileHasLineAtZero = std::any_of(
      editor.lines.begin(), editor.lines.end(),
      [](const LyricLine& line) { return line.timed && line.time <= 0; });
  if (!lines.isEmpty() && !fileHasLineAtZero) {
    QCOMPARE(lines.first().time, 0);
    QVERIFY(lines.first().text.isEmpty());
    lines.removeFirst();
  }
  qint64 sumMs = 0;
  for (const LyricLine& line : lines) sumMs += line.time;

  // The reader never invents timed lines.
  QVERIFY2(lines.size() <= Column(row, "timed_lines"), qPrintable(QString::number(lines.size())));
  if (kChecked.timedLines) {
    QCOMPARE(qint64(lines.size()), Column(row, "timed_lines"));
    QVERIFY2(qAbs(sumMs - Column(row, "player_ms_sum")) <= 10 * lines.size(),
             qPrintable(QString::number(sumMs)));
    // A translation keeps the time of its original line.
    if (Column(row, "shared_times")) {
      QVERIFY(std::adjacent_find(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
                return a.time == b.time;
              }) != lines.end());
    }
  }
  if (kChecked.offset) QCOMPARE(qint64(player.offset), Column(row, "offset"));
  if (kChecked.wordTags && Column(row, "word_tags")) {
    // A valid word tag (seconds below 60) is gone from the Player's text into its words, and
    // kept by the Editor.
    static const QRegularExpression wordTag(QStringLiteral("<\\d{1,2}:[0-5]?\\d(\\.\\d{1,3})?>"));
    for (const LyricLine& line : lines) QVERIFY2(!line.text.contains(wordTag), qPrintable(line.text));
    QVERIFY(std::any_of(lines.begin(), lines.end(), [](const LyricLine& l) { return l.words >= 0; }));
    QVERIFY(std::any_of(editor.lines.begin(), editor.lines.end(),
                        [](const LyricLine& l) { return l.text.contains(wordTag); }));
  }
}

// The Editor writes every unknown metadata line of the file back (as it stood, blanks and all).
void CheckUnknownTagsWritten(const LyricsDocument& editor, const ExpectedRow& row) {
  static const QRegularExpression unknown(QStringLiteral("^\\[([A-Za-z_-]+):[^\\]]*\\]$"));
  static const QStringList known = {QStringLiteral("ti"), QStringLiteral("ar"),
                                    QStringLiteral("al"), QStringLiteral("by"),
                                    QStringLiteral("offset")};
  qint64 written = 0;
  for (const QString& line : LrcText(editor, false).split(QStringLiteral("\r\n"))) {
    const QRegularExpressionMatch match = unknown.match(line.trimmed());
    written += match.hasMatch() && !known.contains(match.captured(1).toLower());
  }
  QCOMPARE(written, Column(row, "unknown_tags"));
}

}  // namespace

class TestLyricsCorpus : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QHash<QString, ExpectedRow> expected_ = ReadExpected();

  void addFileRows() {
    QTest::addColumn<QString>("path");
    const QStringList names = QDir(CorpusDir()).entryList({QStringLiteral("*.lrc")}, QDir::Files,
                                                          QDir::Name);
    for (const QString& name : names)
      QTest::newRow(qPrintable(name)) << QDir(CorpusDir()).filePath(name);
  }

 private slots:
  // Every file has its row and every row its file, so a file added without rerunning
  // corpus_expectations.py is noticed.
  void tableCoversCorpus() {
    const QStringList names = QDir(CorpusDir()).entryList({QStringLiteral("*.lrc")}, QDir::Files);
    QVERIFY2(names.size() >= 30, qPrintable(QString::number(names.size())));
    QCOMPARE(expected_.size(), qsizetype(names.size()));
    for (const QString& name : names) QVERIFY2(expected_.contains(name), qPrintable(name));
  }

  void loadsInBothModes_data() { addFileRows(); }
  void loadsInBothModes() {
    QFETCH(QString, path);
    for (const ReaderMode mode : {ReaderMode::Editor, ReaderMode::Player}) {
      LyricsDocument doc;
      QString message;
      QVERIFY(LoadLrc(doc, path, mode, &message));
      QVERIFY2(message.isEmpty(), qPrintable(message));
      lyricstest::CheckInvariants(doc, mode);
      QVERIFY(!QTest::currentTestFailed());
    }
  }

  // A normal save of what the Editor read, read back, is the same document.
  void expandedSaveReadsBack_data() { addFileRows(); }
  void expandedSaveReadsBack() {
    QFETCH(QString, path);
    LyricsDocument doc;
    QVERIFY(LoadLrc(doc, path, ReaderMode::Editor));
    const QString out = dir_.filePath(QFileInfo(path).fileName());
    QString message;
    QVERIFY2(SaveLrc(doc, out, false, &message), qPrintable(message));
    LyricsDocument again;
    QVERIFY(LoadLrc(again, out, ReaderMode::Editor));
    QCOMPARE(again.title, doc.title);
    QCOMPARE(again.artist, doc.artist);
    QCOMPARE(again.album, doc.album);
    QCOMPARE(again.by, doc.by);
    const QList<LyricLine> before = SavableLines(doc);
    const QList<LyricLine> after = SavableLines(again);
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
      const QString where = QStringLiteral("line %1: ").arg(i) + before[i].text;
      QVERIFY2(qAbs(after[i].time - before[i].time) <= 10, qPrintable(where));
      QVERIFY2(after[i].text == before[i].text, qPrintable(where + u" / " + after[i].text));
      QVERIFY2(after[i].timed == before[i].timed, qPrintable(where));
    }
  }

  void meetsExpectations_data() { addFileRows(); }
  void meetsExpectations() {
    QFETCH(QString, path);
    const QString name = QFileInfo(path).fileName();
    QVERIFY2(expected_.contains(name), qPrintable(name));
    LyricsDocument player;
    QVERIFY(LoadLrc(player, path, ReaderMode::Player));
    LyricsDocument editor;
    QVERIFY(LoadLrc(editor, path, ReaderMode::Editor));
    CheckExpectations(player, editor, expected_.value(name));
    if (kChecked.unknownTags) CheckUnknownTagsWritten(editor, expected_.value(name));
  }
};

QTEST_GUILESS_MAIN(TestLyricsCorpus)
#include "tst_lyricscorpus.moc"
