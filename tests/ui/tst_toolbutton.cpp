// The tool-bar button both programs draw: where the picture sits under each frame, the greyed
// picture of a disabled button, and the signals of a click that ends inside or outside.
#include "common/ui/toolbutton.h"

#include <QSignalSpy>
#include <QTest>

using namespace lyrova;

namespace {

// A 4×4 picture of one colour, so its place on the button can be read back pixel by pixel.
QPixmap Square(QColor color) {
  QPixmap pixmap(4, 4);
  pixmap.fill(color);
  return pixmap;
}

}  // namespace

class TestToolButton : public QObject {
  Q_OBJECT

 private slots:
  void pictureAndFrame_data() {
    QTest::addColumn<ToolButton::Frame>("frame");
    QTest::addColumn<QPoint>("pictureAt");
    QTest::addColumn<QColor>("corner");  // the top-left pixel
    QTest::addColumn<QColor>("farCorner");
    QTest::newRow("outline") << ToolButton::Frame::Outline << QPoint(3, 3) << QColor(150, 150, 150)
                             << QColor(150, 150, 150);
    QTest::newRow("no frame") << ToolButton::Frame::None << QPoint(3, 3) << QColor(Qt::yellow)
                              << QColor(Qt::yellow);
    QTest::newRow("raised") << ToolButton::Frame::Raised << QPoint(3, 3) << QColor(Qt::white)
                            << QColor(96, 96, 96);
    QTest::newRow("sunken, picture one pixel down")
        << ToolButton::Frame::Sunken << QPoint(4, 4) << QColor(96, 96, 96) << QColor(Qt::white);
  }
  void pictureAndFrame() {
    QFETCH(ToolButton::Frame, frame);
    QFETCH(QPoint, pictureAt);
    QFETCH(QColor, corner);
    QFETCH(QColor, farCorner);
    ToolButton button(0, 10, nullptr);
    button.SetIcon(Square(Qt::blue));
    button.SetLook(Qt::yellow, frame);
    const QImage image = button.grab().toImage();
    QCOMPARE(image.size(), QSize(10, 10));
    QCOMPARE(image.pixelColor(pictureAt), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(pictureAt + QPoint(3, 3)), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(pictureAt - QPoint(1, 1)), QColor(Qt::yellow));
    QCOMPARE(image.pixelColor(pictureAt + QPoint(4, 4)), QColor(Qt::yellow));
    QCOMPARE(image.pixelColor(0, 0), corner);
    QCOMPARE(image.pixelColor(9, 9), farCorner);

    button.setEnabled(false);
    const QImage disabled = button.grab().toImage();
    QVERIFY(disabled.pixelColor(3, 3) != QColor(Qt::blue));  // greyed, and never shifted
    QCOMPARE(disabled.pixelColor(2, 2), frame == ToolButton::Frame::None ? QColor(Qt::yellow)
                                                                       : image.pixelColor(2, 2));
  }

  void clickReportsWhereItEnded() {
    ToolButton button(7, 18, nullptr);
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy pressed(&button, &ToolButton::Pressed);
    QSignalSpy released(&button, &ToolButton::Released);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::RightButton);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(40, 5));
    QCOMPARE(pressed.size(), 2);
    QCOMPARE(pressed[0], QVariantList{7});
    QCOMPARE(released.size(), 2);
    QCOMPARE(released[0], (QVariantList{7, true}));
    QCOMPARE(released[1], (QVariantList{7, false}));
    QCOMPARE(button.focusPolicy(), Qt::NoFocus);
  }
};

QTEST_MAIN(TestToolButton)
#include "tst_toolbutton.moc"
