// The peer of the Player's start-up benchmark: the least a Qt program can do to show one Chinese
// label in a window.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QStringLiteral("歌词"));
  label.setWindowTitle(QStringLiteral("minimal"));
  label.show();
  return app.exec();
}
