#pragma once

#include <QString>
#include <QStringList>

namespace lyrova {

class Prompts;

inline constexpr int kPlayerVersionMajor = 1;
inline constexpr int kPlayerVersionMinor = 42;
inline constexpr int kPlayerVersionRevision = 1;

// "1.42.1".
QString PlayerVersionText();

// The lines of the Player's About box: product and version, the suite's version, what it does,
// the credit line.
QStringList AboutLines();

// The About box: an information message titled "关于Lyrova" holding AboutLines.
void ShowAbout(Prompts& prompts);

}  // namespace lyrova
