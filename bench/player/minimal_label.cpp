// The peer of the Player's benchmarks: the least a Qt program can do to show one Chinese label in
// a window. With --tick it also runs a 10 ms timer that does nothing, the floor under the CPU
// time of any program with the Player's playback tick.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QStringLiteral("歌词"));
  label.setWindowTitle(QStringLiteral("minimal"));
  label.show();
  QTimer tick;
  if (QApplication::arguments().contains(QStringLiteral("--tick"))) {
    tick.setInterval(10);
    tick.setTimerType(Qt::PreciseTimer);
    tick.start();
  }
  return app.exec();
}
