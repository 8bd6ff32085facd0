#include "player/shell/about.h"

#include "common/programinfo.h"
#include "common/prompts/prompts.h"

namespace lyrova {

QString PlayerVersionText() {
  return QString::number(kPlayerVersionMajor) + u'.' + QString::number(kPlayerVersionMinor) + u'.' +
         QString::number(kPlayerVersionRevision);
}

QStringList AboutLines() {
  return {QStringLiteral("Lyrova ") + PlayerVersionText(), SuiteVersionLine(),
          QStringLiteral("播放歌曲，同步显示 LRC 歌词，并可把歌词逐句发送到聊天窗口。"),
          QStringLiteral("Lyrova 开发组")};
}

void ShowAbout(Prompts& prompts) {
  prompts.Message(AboutLines().join(u'\n'), QStringLiteral("关于Lyrova"), MessageIcon::Information);
}

}  // namespace lyrova
