// lrctool: the lyrics library on the command line.
//   lrctool dump [--player] FILE        the file as the Editor (or the Player) reads it, as JSON
//   lrctool save [--compressed] IN OUT  IN read as the Editor does, written to OUT
//   lrctool --help | --version
// Exit status: 0 done, 1 a load or save failed or a file name was refused (its message on
// stderr), 2 wrong usage. A file name whose bytes do not decode to a name and back unchanged is
// refused rather than replaced by another name.

#include "common/commandline.h"
#include "common/programinfo.h"
#include "documentjson.h"
#include "lyrics/lrcreader.h"
#include "lyrics/lrcwriter.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: lrctool dump [--player] FILE\n"
    "       lrctool save [--compressed] IN OUT\n"
    "       lrctool --help | --version\n"
    "  dump  prints FILE as JSON, read as the Editor reads it (--player: as the Player does)\n"
    "  save  reads IN as the Editor does and writes it to OUT, expanded or compressed,\n"
    "        in the encoding IN was read in\n"
    "  A \"--\" ends the options, so that a file name may start with \"-\".\n"
    "  -h, --help  print this text and end\n"
    "  --version   print the version and end\n";

void Write(std::FILE* stream, const QByteArray& bytes) {
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
  std::fflush(stream);
}

int Usage() {
  Write(stderr, kUsageText);
  return kUsage;
}

int Fail(const QString& message) {
  Write(stderr, message.toUtf8() + '\n');
  return kFailed;
}

// Splits the arguments after the command into the one allowed option and the file operands.
bool SplitArguments(const QStringList& args, const QString& option, bool* optionSet,
                    QStringList* operands) {
  bool optionsEnded = false;
  for (const QString& arg : args) {
    if (!optionsEnded && arg == QStringLiteral("--")) {
      optionsEnded = true;
    } else if (!optionsEnded && operands->isEmpty() && arg == option) {
      *optionSet = true;
    } else if (!optionsEnded && arg.startsWith(u'-') && arg.size() > 1) {
      return false;
    } else {
      operands->append(arg);
    }
  }
  return true;
}

int Dump(const QStringList& args) {
  bool player = false;
  QStringList files;
  if (!SplitArguments(args, QStringLiteral("--player"), &player, &files) || files.size() != 1)
    return Usage();
  const lyrova::ReaderMode mode = player ? lyrova::ReaderMode::Player : lyrova::ReaderMode::Editor;
  lyrova::LyricsDocument doc;
  QString message;
  if (!lyrova::LoadLrc(doc, files[0], mode, &message)) {
    // The Player's reader reports nothing itself; the tool still says why it stopped.
    return Fail(message.isEmpty() ? QStringLiteral("歌词读取失败:") + files[0] : message);
  }
  Write(stdout, lyrova::DocumentJson(doc, !player));
  return 0;
}

int Save(const QStringList& args) {
  bool compressed = false;
  QStringList files;
  if (!SplitArguments(args, QStringLiteral("--compressed"), &compressed, &files) ||
      files.size() != 2)
    return Usage();
  lyrova::LyricsDocument doc;
  QString message;
  if (!lyrova::LoadLrc(doc, files[0], lyrova::ReaderMode::Editor, &message)) return Fail(message);
  if (!lyrova::SaveLrc(doc, files[1], compressed, &message)) return Fail(message);
  return 0;
}

// The first argument that does not name a file faithfully, refused; 0 when all do. The last
// operand of "save" is the file written.
int RefuseUnreadable(const lyrova::CommandLine& commandLine) {
  const QStringList& args = commandLine.Arguments();
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (commandLine.Readable(i)) continue;
    const bool written = args.first() == QStringLiteral("save") && i == args.size() - 1;
    return Fail(lyrova::UnreadableNameMessage(
        args[i], written ? lyrova::NameUse::Save : lyrova::NameUse::Open));
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  const lyrova::InfoRequest info = lyrova::FindInfoRequest(argc, argv, lyrova::InfoPlacement::OnlyArgument);
  if (info != lyrova::InfoRequest::None) return lyrova::AnswerInfoRequest(info, "lrctool", kUsageText);
  QCoreApplication app(argc, argv);
  const lyrova::CommandLine commandLine(argc, argv);
  if (const int refused = RefuseUnreadable(commandLine)) return refused;
  QStringList args = commandLine.Arguments();
  if (args.isEmpty()) return Usage();
  const QString command = args.takeFirst();
  if (command == QStringLiteral("dump")) return Dump(args);
  if (command == QStringLiteral("save")) return Save(args);
  return Usage();
}
