#pragma once

#include <QString>

// The audio types offered by the open-audio dialogs of the Player and the Editor, in the
// "desc|pattern|..." form of FileDialogs. One definition, so that both programs offer the same.
namespace lyrova {

// Every audio type the engine plays, ";"-separated ("*.ac3;*.dts;...;*.mka"); the first filter
// and the Editor's default extension.
QString AllAudioPatterns();

// "全部音频" with AllAudioPatterns, then the named filters of single formats, then "所有文件".
QString AudioOpenFilter();

}  // namespace lyrova
