#pragma once

#include <QStringList>

namespace lyrova {

// The order of the lyric font menu: wide names (holding any non-ASCII character, such as Chinese
// font names) first, then the other ordinary names, then the vertical-writing variants (names
// that begin with "@"), wide ones first. Names are trimmed. Within each group the order follows
// the swap passes of the original menu builder, so it is not simply the input order.
QStringList OrderFontNames(QStringList names);

}  // namespace lyrova
