#include "playerfixture.h"

#include "player/core/lyriccolors.h"
#include "player/window/colors.h"
#include "player/window/lyriclabel.h"

#include <QAction>
#include <QImage>
#include <QTest>

#include <cstdlib>

using namespace lyrova;

namespace {

// The leftmost and rightmost column holding a pixel close to `color`; {-1, -1} when none.
std::pair<int, int> ColumnsOf(const QImage& image, const QColor& color) {
  std::pair<int, int> span{-1, -1};
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - color.red()) + std::abs(c.green() - color.green()) +
              std::abs(c.blue() - color.blue()) > 60)
        continue;
      span.first = span.first < 0 ? x : std::min(span.first, x);
      span.second = std::max(span.second, x);
    }
  }
  return span;
}

const QByteArray kStripLyrics =
    "[00:01.00]<00:01.00>Sing <00:02.00>along<00:03.00>\r\n[00:01.00]跟着唱\r\n[00:03.00]solo\r\n"
    "[00:05.00]" + QByteArray("a line much too wide for the lyric strip of the window ").repeated(4) +
    "\r\n[00:08.00]end\r\n";

}  // namespace

class TestPlayerStrip : public QObject {
  Q_OBJECT

 private slots:
  // Through the real labels: a word-timed line sung in the played colour left of the boundary,
  // an original with its translation below it (and one after the other with 双语歌词 off), a
  // line too wide scrolled as it goes and cut with "…" in the next line's place.
  void stripSingsGroupsAndScrolls() {
    PlayerFixture f;
    const QString song = f.Song(QStringLiteral("strip.mp3"), 10'000);
    PlayerFixture::Write(f.root.filePath(QStringLiteral("music/strip.lrc")), kStripLyrics);
    PlayerWindow& w = f.Start({song});
    f.PlayFor(1'000);
    QCOMPARE(w.CurrentLineText(), u"Sing along"_qs);
    QCOMPARE(w.NextLineText(), u"跟着唱"_qs);
    f.PlayFor(1'500);
    LyricLabel* current = w.CurrentLineLabel();
    QCOMPARE(current->Progress().sungChars, 5);
    QVERIFY(current->Progress().wordFraction > 0.4 && current->Progress().wordFraction < 0.5);
    const QImage sung = current->grab().toImage();
    const auto played = ColumnsOf(sung, colors::kPlayed);
    const auto unsung = ColumnsOf(sung, colors::kCurrentLine);
    QVERIFY(played.first >= 0 && unsung.first >= 0);
    QVERIFY2(played.second < unsung.first + 2, qPrintable(QStringLiteral("%1-%2 %3-%4")
        .arg(played.first).arg(played.second).arg(unsung.first).arg(unsung.second)));

    QAction* bilingual = w.Toggle(QStringLiteral("Bilingual_M"));
    QVERIFY(bilingual->isChecked());
    bilingual->trigger();
    QCOMPARE(f.settings.ReadBoolSetting(playerkeys::kBilingual, true), false);
    QCOMPARE(w.CurrentLineText(), u"跟着唱"_qs);
    QCOMPARE(w.NextLineText(), u"solo"_qs);
    bilingual->trigger();
    QCOMPARE(w.CurrentLineText(), u"Sing along"_qs);

    f.PlayFor(1'000);  // 3.5 s: the wide line waits in the next line's place, cut to the window
    QVERIFY(w.NextLineLabel()->width() <= w.width());
    QCOMPARE(w.NextLineLabel()->x(), 0);
    f.PlayFor(1'500);
    QCOMPARE(current->ScrollOffset(), 0.0);
    QCOMPARE(current->x(), 0);
    QVERIFY(current->width() <= w.width());
    f.PlayFor(1'500);  // halfway through its 3 s
    const double range = current->TextWidth() - current->width();
    QVERIFY(range > 0);
    QVERIFY2(std::abs(current->ScrollOffset() - range / 2) < range / 20,
             qPrintable(QString::number(current->ScrollOffset())));
  }

  // The colour schemes: the designed one first and checked, a choice shown at once, remembered
  // and used by the next start.
  void lyricColorsAreChosenAndRemembered() {
    PlayerFixture f;
    {
      PlayerWindow& w = f.Start();
      const QList<QAction*> items = w.LyricColorMenu()->actions();
      QCOMPARE(items.size(), kLyricColorSchemeCount);
      QCOMPARE(items[0]->text(), u"默认"_qs);
      QVERIFY(items[0]->isChecked());
      QCOMPARE(w.CurrentLineLabel()->palette().color(QPalette::WindowText), colors::kCurrentLine);
      items[2]->trigger();
      QVERIFY(items[2]->isChecked() && !items[0]->isChecked());
      QCOMPARE(w.LyricColorMenu()->title(), u"歌词颜色: "_qs + LyricColorSchemes()[2].name);
      QCOMPARE(w.CurrentLineLabel()->palette().color(QPalette::WindowText),
               colors::FromBgr(LyricColorSchemes()[2].current));
      w.close();
    }
    f.window.reset();
    PlayerWindow& again = f.Start();
    QVERIFY(again.LyricColorMenu()->actions()[2]->isChecked());
    QCOMPARE(again.NextLineLabel()->palette().color(QPalette::WindowText),
             colors::FromBgr(LyricColorSchemes()[2].next));
  }
};

QTEST_MAIN(TestPlayerStrip)
#include "tst_playerwindow_strip.moc"
