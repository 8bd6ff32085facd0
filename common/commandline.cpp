#include "common/commandline.h"

#include <QFile>

namespace lyrova {

bool IsReadableName(const QByteArray& bytes) {
  return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

CommandLine::CommandLine(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray bytes(argv[i]);
    arguments_.append(QFile::decodeName(bytes));
    readable_.append(IsReadableName(bytes));
  }
}

QStringList CommandLine::Unreadable() const {
  QStringList names;
  for (qsizetype i = 0; i < arguments_.size(); ++i)
    if (!readable_[i]) names.append(arguments_[i]);
  return names;
}

QString UnreadableNameMessage(const QString& shownName, NameUse use) {
  return (use == NameUse::Save ? QStringLiteral("文件名含有无法识别的字符，无法保存:")
                               : QStringLiteral("文件名含有无法识别的字符，无法打开:")) +
         shownName;
}

}  // namespace lyrova
