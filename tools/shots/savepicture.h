#pragma once

// The screenshot tools' one way of saving a picture of a widget.
#include <QApplication>
#include <QString>
#include <QWidget>

#include <cstdio>

namespace lyrova::shots {

// Lets pending paints happen, saves `widget` as FOLDER/NAME.png and prints the path.
inline void Save(QWidget* widget, const QString& folder, const QString& name) {
  QApplication::processEvents();
  const QString path = folder + u'/' + name + QStringLiteral(".png");
  widget->grab().save(path);
  std::printf("%s\n", qPrintable(path));
}

}  // namespace lyrova::shots
