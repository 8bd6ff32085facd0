#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A program's command line as the system handed it over. Linux passes file names as bytes, and
// decoding them as file names (QFile::decodeName, UTF-8) turns bytes that are not valid there
// into U+FFFD: the text then names another file, or none. Every argument is decoded so and
// marked readable only when QFile::encodeName gives back the very same bytes, so that a caller
// can refuse such a name instead of silently using another one.
namespace lyrova {

class CommandLine {
 public:
  // The arguments after the program's name (argv[0]); call after the Q*Application has taken
  // out its own options.
  CommandLine(int argc, const char* const* argv);

  const QStringList& Arguments() const { return arguments_; }
  bool Readable(qsizetype index) const { return readable_.value(index, true); }
  // The unreadable arguments, decoded as far as they can be shown.
  QStringList Unreadable() const;

 private:
  QStringList arguments_;
  QList<bool> readable_;
};

// True when `bytes` decode to a text that encodes back to the same bytes.
bool IsReadableName(const QByteArray& bytes);

enum class NameUse { Open, Save };

// The message that refuses such a name: "文件名含有无法识别的字符，无法打开:" (or "…无法保存:")
// followed by the name as far as it can be shown.
QString UnreadableNameMessage(const QString& shownName, NameUse use = NameUse::Open);

}  // namespace lyrova
