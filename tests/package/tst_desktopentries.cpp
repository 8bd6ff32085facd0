#include "common/audiofilters.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

// The package's desktop entries against what the programs open, with the file types as
// shared-mime-info names them (Qt reads the same database file managers do).
class TestDesktopEntries : public QObject {
  Q_OBJECT

  QTemporaryDir mimeHome_;

  static QStringList MimeTypesOf(const QString& entry) {
    QFile file(QStringLiteral(LYROVA_DESKTOP_DIR "/") + entry);
    if (!file.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : file.readAll().split('\n')) {
      if (line.startsWith("MimeType="))
        return QString::fromUtf8(line.mid(9)).split(u';', Qt::SkipEmptyParts);
    }
    return {};
  }

 private slots:
  // The package's LRC type joins the system's database for this test, as installing it does.
  void initTestCase() {
    QVERIFY(mimeHome_.isValid());
    const QString packages = mimeHome_.filePath(QStringLiteral("mime/packages"));
    QVERIFY(QDir().mkpath(packages));
    QVERIFY(QFile::copy(QStringLiteral(LYROVA_SOURCE_DIR "/packaging/lyrova-mime.xml"),
                        packages + QStringLiteral("/lyrova.xml")));
    const QByteArray system = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", QFile::encodeName(mimeHome_.path()) + ':' +
                                 (system.isEmpty() ? QByteArray("/usr/local/share:/usr/share") : system));
  }

  // A file manager offers the Player for every audio file it can open: each audio type the
  // database gives one of its patterns is in the Player's entry.
  void playerTakesEveryAudioTypeItOpens() {
    const QStringList listed = MimeTypesOf(QStringLiteral("lyrova.desktop"));
    QVERIFY(!listed.isEmpty());
    const QMimeDatabase mime;
    int typed = 0;
    for (const QString& pattern : lyrova::AllAudioPatterns().split(u';')) {
      const QString name = QStringLiteral("song") + pattern.mid(1);
      for (const QMimeType& type : mime.mimeTypesForFileName(name)) {
        if (!type.name().startsWith(u"audio/")) continue;
        ++typed;
        QVERIFY2(listed.contains(type.name()), qPrintable(name + u" is " + type.name()));
      }
    }
    QVERIFY(typed > 10);  // the database knows the common formats
    for (const QString& type : listed)
      QVERIFY2(mime.mimeTypeForName(type).isValid(), qPrintable(type + u" is no known type"));
  }

  // LRC files are lyrics, a kind of text, and the Editor is offered for them.
  void lrcFilesGoToTheEditor() {
    const QMimeDatabase mime;
    const QMimeType lrc = mime.mimeTypeForFile(QStringLiteral("夜航的灯.LRC"), QMimeDatabase::MatchExtension);
    QCOMPARE(lrc.name(), QStringLiteral("text/x-lrc"));
    QVERIFY(lrc.inherits(QStringLiteral("text/plain")));
    QVERIFY(MimeTypesOf(QStringLiteral("versel.desktop")).contains(lrc.name()));
    QVERIFY(!MimeTypesOf(QStringLiteral("lyrova.desktop")).contains(lrc.name()));
  }
};

QTEST_GUILESS_MAIN(TestDesktopEntries)
#include "tst_desktopentries.moc"
