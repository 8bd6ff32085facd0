#pragma once

#include <QString>
#include <QStringList>

// Conversion of the "desc|pattern|desc|pattern" filter strings the programs are written with
// into Qt name filters ("desc (pat1 pat2)").
namespace lyrova {

// Pairs of description and pattern list, separated by "|", patterns separated by ";". As with
// the system dialogs this form comes from, an empty element ends the list (a trailing "|" is
// harmless) and a description without a pattern is dropped. Patterns are trimmed and "*.*"
// becomes "*", since both mean every file. A pair whose pattern list holds no pattern is dropped.
QStringList ToQtNameFilters(const QString& filter);

// The same name filter with every ASCII letter of its patterns matching either case
// ("MP3 (*.mp3)" -> "MP3 (*.[mM][pP]3)"), so that a song named "A.MP3" shows under "*.mp3" on a
// case-sensitive file system. The description is kept; a filter without a "(...)" part at its
// end is taken as a bare pattern list.
QString CaseInsensitiveNameFilter(const QString& nameFilter);

}  // namespace lyrova
