#include "common/prompts/filedialogs.h"
#include "common/prompts/scriptedprompts.h"

#include <QTest>
#include <QWidget>

using namespace lyrova;
using namespace Qt::StringLiterals;

namespace {

// The filter of the Player's open-audio dialog, in the five pieces the Player joins.
const QString kPlayerAudioFilter =
    QStringLiteral("全部音频|*.ac3;*.dts;*.mp3;*.mpa;*.mp2;*.m1a;*.m2a;*.mid;*.midi;*.rmi;*.aac;*.wma;*.ogg;*.wav") +
    QStringLiteral("|MP3 格式音频|*.mp3|MPEG 音频文件|*.mpa;*.mp2;*.m1a;*.m2a") +
    QStringLiteral("|Windows Media 音频文件|*.wma|WAV 音频文件|*.wav") +
    QStringLiteral("|Ogg Vorbis 音频文件|*.ogg|MPEG4 音频文件|*.aac") +
    QStringLiteral("|DVD 音频文件|*.ac3;*.dts|MIDI 文件|*.mid;*.midi;*.rmi|所有文件|*.*");

const QString kThreeFilters = QStringLiteral("歌词|*.lrc|文本|*.txt|全部|*.*");

}  // namespace

Q_DECLARE_METATYPE(lyrova::FileDialogKind)

class TestFileDialogs : public QObject {
  Q_OBJECT

 private slots:
  void singleChoice_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::newRow("music folder") << "/home/u/Music/a.mp3" << "/home/u/Music" << "a.mp3";
    QTest::newRow("root") << "/a.mp3" << "/" << "a.mp3";
    QTest::newRow("chinese and blanks") << "/音乐/我的 歌.mp3" << "/音乐" << "我的 歌.mp3";
    QTest::newRow("dots in folder") << "/m.d/b.c.mp3" << "/m.d" << "b.c.mp3";
    QTest::newRow("backslash is a name character") << "/m/a\\b.mp3" << "/m" << "a\\b.mp3";
  }
  void singleChoice() {
    QFETCH(QString, chosen);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    for (const FileDialogKind kind : {FileDialogKind::Open, FileDialogKind::Save}) {
      ScriptedPrompts prompts;
      prompts.AnswerFiles({chosen});
      FileDialogs dialog(prompts);
      dialog.SetInitialDir(QStringLiteral("/elsewhere"));
      kind == FileDialogKind::Open ? dialog.PopOpen() : dialog.PopSave();
      QVERIFY(!dialog.Cancel());
      QCOMPARE(dialog.InitialDir(), folder);
      QCOMPARE(dialog.FileName(), chosen);
      QCOMPARE(dialog.NameCount(), 1);
      QCOMPARE(dialog.Names(0, true), chosen);
      QCOMPARE(dialog.Names(0, false), name);
      QCOMPARE(dialog.FilterIndex(), 1);
      QCOMPARE(prompts.Last().kind, kind == FileDialogKind::Open ? PromptKind::OpenFile : PromptKind::SaveFile);
    }
  }

  void cancelChangesOnlyCancel_data() {
    QTest::addColumn<FileDialogKind>("kind");
    QTest::newRow("open") << FileDialogKind::Open;
    QTest::newRow("save") << FileDialogKind::Save;
  }
  void cancelChangesOnlyCancel() {
    QFETCH(FileDialogKind, kind);
    ScriptedPrompts prompts;
    prompts.AnswerFiles({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")}, 2);
    prompts.CancelFileDialog();
    FileDialogs dialog(prompts);
    dialog.SetFilter(kThreeFilters);
    dialog.PopOpen();
    QVERIFY(!dialog.Cancel());
    dialog.SetFileName(QStringLiteral("typed.lrc"));
    dialog.SetInitialDir(QStringLiteral("/start"));
    dialog.SetFilterIndex(2);
    kind == FileDialogKind::Open ? dialog.PopOpen() : dialog.PopSave();
    QVERIFY(dialog.Cancel());
    QCOMPARE(dialog.FileName(), QStringLiteral("typed.lrc"));
    QCOMPARE(dialog.InitialDir(), QStringLiteral("/start"));
    QCOMPARE(dialog.FilterIndex(), 2);
    QCOMPARE(dialog.NameCount(), 2);
    QCOMPARE(dialog.Names(1, true), QStringLiteral("/start/b.mp3"));
    QCOMPARE(dialog.Filter(), kThreeFilters);
  }

  void emptyFilterBecomesAllFiles() {
    ScriptedPrompts prompts;
    prompts.CancelFileDialog();
    prompts.AnswerFiles({QStringLiteral("/x/noext")});
    FileDialogs dialog(prompts);
    dialog.PopOpen();
    QCOMPARE(dialog.Filter(), QStringLiteral("*.*|*.*"));
    QCOMPARE(prompts.Last().request.nameFilters, QStringList{QStringLiteral("*.* (*)")});
    dialog.PopSave();
    QCOMPARE(dialog.Filter(), QStringLiteral("*.*|*.*"));
    QCOMPARE(dialog.FileName(), QStringLiteral("/x/noext"));
  }

  void filterIndex_data() {
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("shownFilter");
    QTest::addColumn<int>("answered");
    QTest::addColumn<int>("after");
    QTest::newRow("0 means the first") << 0 << 0 << 0 << 1;
    QTest::newRow("1 is the first") << 1 << 0 << 0 << 1;
    QTest::newRow("2") << 2 << 1 << 1 << 2;
    QTest::newRow("last") << 3 << 2 << 2 << 3;
    QTest::newRow("past the end") << 4 << 0 << 0 << 1;
    QTest::newRow("negative") << -1 << 0 << 0 << 1;
    QTest::newRow("user changed it") << 1 << 0 << 2 << 3;
  }
  void filterIndex() {
    QFETCH(int, given);
    QFETCH(int, shownFilter);
    QFETCH(int, answered);
    QFETCH(int, after);
    ScriptedPrompts prompts;
    prompts.AnswerFiles({QStringLiteral("/l/a.lrc")}, answered);
    FileDialogs dialog(prompts);
    dialog.SetFilter(kThreeFilters);
    dialog.SetFilterIndex(given);
    dialog.PopOpen();
    QCOMPARE(prompts.Last().request.selectedFilter, shownFilter);
    QCOMPARE(dialog.FilterIndex(), after);
  }

  void flags_data() {
    QTest::addColumn<FileDialogKind>("kind");
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<bool>("multi");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<bool>("fileMustExist");
    QTest::addColumn<bool>("pathMustExist");
    const auto open = FileDialogKind::Open;
    const auto save = FileDialogKind::Save;
    QTest::newRow("player open 0x81804") << open << quint32(0x81804) << false << false << true << true;
    QTest::newRow("none") << open << quint32(0) << false << false << false << false;
    QTest::newRow("multi open") << open << quint32(0x200) << true << false << false << false;
    QTest::newRow("multi ignored on save") << save << quint32(0x200) << false << false << false << false;
    QTest::newRow("overwrite save") << save << quint32(0x2) << false << true << false << false;
    QTest::newRow("overwrite ignored on open") << open << quint32(0x2) << false << false << false << false;
    QTest::newRow("path only") << save << quint32(0x800) << false << false << false << true;
    QTest::newRow("file implies path") << open << quint32(0x1000) << false << false << true << true;
    QTest::newRow("hide read-only, explorer") << open << quint32(0x80004) << false << false << false << false;
    QTest::newRow("save all: a new file may be named") << save << quint32(0x81806) << false << true << false << true;
  }
  void flags() {
    QFETCH(FileDialogKind, kind);
    QFETCH(quint32, flags);
    QFETCH(bool, multi);
    QFETCH(bool, overwrite);
    QFETCH(bool, fileMustExist);
    QFETCH(bool, pathMustExist);
    ScriptedPrompts prompts;
    prompts.CancelFileDialog();
    FileDialogs dialog(prompts);
    dialog.SetFlags(flags);
    kind == FileDialogKind::Open ? dialog.PopOpen() : dialog.PopSave();
    const FileDialogRequest& request = prompts.Last().request;
    QCOMPARE(request.kind, kind);
    QCOMPARE(request.multiSelect, multi);
    QCOMPARE(request.overwritePrompt, overwrite);
    QCOMPARE(request.fileMustExist, fileMustExist);
    QCOMPARE(request.pathMustExist, pathMustExist);
    QCOMPARE(dialog.Flags(), flags);
  }

  void defaultSuffix_data() {
    QTest::addColumn<QString>("defExt");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("player pattern list") << "*.Wav;*.Wma;*.Mp3;*.Asf" << "";
    QTest::newRow("lyrics pattern") << "*.Lrc" << "";
    QTest::newRow("plain") << "lrc" << "lrc";
    QTest::newRow("leading dot") << ".lrc" << "lrc";
    QTest::newRow("digits") << "mp3" << "mp3";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("dot only") << "." << "";
    QTest::newRow("blank inside") << "l rc" << "";
    QTest::newRow("two extensions") << "tar.gz" << "";
  }
  void defaultSuffix() {
    QFETCH(QString, defExt);
    QFETCH(QString, suffix);
    ScriptedPrompts prompts;
    prompts.CancelFileDialog();
    FileDialogs dialog(prompts);
    dialog.SetDefExt(defExt);
    dialog.PopSave();
    QCOMPARE(prompts.Last().request.defaultSuffix, suffix);
    QCOMPARE(dialog.DefExt(), defExt);
  }

  // The open-audio dialog exactly as the Player prepares it.
  void playerOpenAudioRequest() {
    QWidget owner;
    ScriptedPrompts prompts;
    prompts.AnswerFiles({QStringLiteral("/歌曲/新歌.ogg")}, 5);
    FileDialogs dialog(prompts);
    dialog.SetHwnd(&owner);
    dialog.SetFilter(kPlayerAudioFilter);
    dialog.SetFilterIndex(0);
    dialog.SetFlags(kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist | kOfnExplorer);
    dialog.SetInitialDir(QStringLiteral("/home/u/Music"));
    dialog.SetTitle(QStringLiteral("打开音频文件"));
    dialog.SetDefExt(QStringLiteral("*.Wav;*.Wma;*.Mp3;*.Asf"));
    dialog.SetFileName(QStringLiteral("/home/u/Music/旧歌.mp3"));
    dialog.PopOpen();

    const FileDialogRequest& request = prompts.Last().request;
    QCOMPARE(request.owner, &owner);
    QCOMPARE(prompts.Last().title, QStringLiteral("打开音频文件"));
    QCOMPARE(request.title, QStringLiteral("打开音频文件"));
    QCOMPARE(request.startFolder, QStringLiteral("/home/u/Music"));
    QCOMPARE(request.initialName, QStringLiteral("/home/u/Music/旧歌.mp3"));
    QCOMPARE(request.nameFilters.size(), 10);
    QCOMPARE(request.nameFilters.first(),
             QStringLiteral("全部音频 (*.ac3 *.dts *.mp3 *.mpa *.mp2 *.m1a *.m2a *.mid *.midi *.rmi *.aac *.wma *.ogg *.wav)"));
    QCOMPARE(request.nameFilters.last(), QStringLiteral("所有文件 (*)"));
    QCOMPARE(request.selectedFilter, 0);
    QVERIFY(request.defaultSuffix.isEmpty());
    QVERIFY(!request.multiSelect);

    QVERIFY(!dialog.Cancel());
    QCOMPARE(dialog.InitialDir(), QStringLiteral("/歌曲"));
    QCOMPARE(dialog.FileName(), QStringLiteral("/歌曲/新歌.ogg"));
    QCOMPARE(dialog.FilterIndex(), 6);
  }

  void multiSelectNames_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("bare");
    QTest::addColumn<QStringList>("full");
    QTest::newRow("one folder")
        << QStringList{u"/m/a.mp3"_s, u"/m/b.mp3"_s, u"/m/c d.mp3"_s} << "/m" << QStringList{u"a.mp3"_s, u"b.mp3"_s, u"c d.mp3"_s}
        << QStringList{u"/m/a.mp3"_s, u"/m/b.mp3"_s, u"/m/c d.mp3"_s};
    QTest::newRow("root") << QStringList{u"/a.mp3"_s, u"/b.mp3"_s} << "/" << QStringList{u"a.mp3"_s, u"b.mp3"_s}
                          << QStringList{u"/a.mp3"_s, u"/b.mp3"_s};
    QTest::newRow("one file") << QStringList{u"/m/only.wav"_s} << "/m" << QStringList{u"only.wav"_s}
                              << QStringList{u"/m/only.wav"_s};
    // A name typed with its own folder keeps naming that file.
    QTest::newRow("second folder") << QStringList{u"/m/a.mp3"_s, u"/n/b.mp3"_s} << "/m" << QStringList{u"a.mp3"_s, u"b.mp3"_s}
                                   << QStringList{u"/m/a.mp3"_s, u"/n/b.mp3"_s};
  }
  void multiSelectNames() {
    QFETCH(QStringList, chosen);
    QFETCH(QString, folder);
    QFETCH(QStringList, bare);
    QFETCH(QStringList, full);
    ScriptedPrompts prompts;
    prompts.AnswerFiles(chosen);
    FileDialogs dialog(prompts);
    dialog.SetFlags(kOfnAllowMultiSelect | kOfnExplorer);
    dialog.PopOpen();
    QVERIFY(prompts.Last().request.multiSelect);
    QVERIFY(!dialog.Cancel());
    QCOMPARE(dialog.InitialDir(), folder);
    QCOMPARE(dialog.FileName(), full.first());
    QCOMPARE(dialog.NameCount(), int(chosen.size()));
    for (int i = 0; i < chosen.size(); ++i) {
      QCOMPARE(dialog.Names(i, false), bare.at(i));
      QCOMPARE(dialog.Names(i, true), full.at(i));
    }
    QCOMPARE(dialog.Names(int(chosen.size()), true), QString());
    QCOMPARE(dialog.Names(-1, false), QString());
  }

  void answerWithoutFileIsCancel_data() {
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("no path") << QStringList{};
    QTest::newRow("empty path") << QStringList{u""_s};
    QTest::newRow("folder") << QStringList{u"/m/"_s};
    QTest::newRow("second empty") << QStringList{u"/m/a.mp3"_s, u""_s};
  }
  void answerWithoutFileIsCancel() {
    QFETCH(QStringList, paths);
    ScriptedPrompts prompts;
    prompts.AnswerFiles(paths, 1);
    FileDialogs dialog(prompts);
    dialog.SetFileName(QStringLiteral("x.lrc"));
    dialog.SetInitialDir(QStringLiteral("/start"));
    dialog.PopOpen();
    QVERIFY(dialog.Cancel());
    QCOMPARE(dialog.FileName(), QStringLiteral("x.lrc"));
    QCOMPARE(dialog.InitialDir(), QStringLiteral("/start"));
    QCOMPARE(dialog.NameCount(), 0);
    QCOMPARE(dialog.FilterIndex(), 0);
  }
};

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
