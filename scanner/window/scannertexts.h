#pragma once

#include <QString>

// The fixed texts of the Scanner window.
namespace lyrova::scannertexts {

inline QString Caption() { return QStringLiteral("Scoutel"); }
inline QString IdleButton() {
  return QStringLiteral("点击这里开始自动添加,如果你打开了《Lyrova》,请先关闭后再点击");
}
inline QString ScanningButton() {
  return QStringLiteral("正在搜索,搜索时请不要打开《Lyrova》,点击中止搜索");
}
inline QString OpticalOption() { return QStringLiteral("搜索光驱"); }
inline QString NotSearched() { return QStringLiteral("尚未搜索"); }
inline QString StatusLabel() { return QStringLiteral("搜索状态："); }
inline QString AddedLabel() { return QStringLiteral("添加数："); }
inline QString SearchedLabel() { return QStringLiteral("搜索数："); }
inline QString QuestionTitle() { return QStringLiteral("提示"); }
inline QString DoneQuestion() { return QStringLiteral("搜索完毕,你要打开《Lyrova》吗"); }
inline QString StopQuestion() { return QStringLiteral("尚未搜索完毕,你真的要中止搜索吗"); }
inline QString ErrorTitle() { return QStringLiteral("错误"); }
// The message when "LrcDir.ini" could not be written, followed by the reason.
inline QString SaveFailed(const QString& reason) {
  return QStringLiteral("保存歌词目录列表时遇到错误,") + reason;
}
// The notice for a folder named on the command line that is not there; the others are scanned.
inline QString FolderMissing(const QString& path) {
  return QStringLiteral("找不到要搜索的文件夹\"") + path + QStringLiteral("\",已跳过");
}
// The message when the Player's program file is not where it should be.
inline QString PlayerMissing(const QString& path) {
  return QStringLiteral("找不到《Lyrova》的运行文件，文件") + u'"' + u' ' + path + u'"' +
         QStringLiteral(" 可能被改名或丢失");
}

}  // namespace lyrova::scannertexts
