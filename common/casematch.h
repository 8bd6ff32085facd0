#pragma once

#include <QString>

// Letter case on a case-sensitive file system. The list files compare paths ignoring letter
// case, and a lyrics file is found even when its name differs from the song's only in case, as
// it would be on a case-insensitive file system. These helpers keep that behaviour without
// mistaking two distinct files (say "/m/A.mp3" and "/m/a.mp3") for one.
namespace lyrova {

// True when the two paths are equal ignoring letter case and do not name two distinct existing
// entries. Equal texts always match; texts that differ only in case match unless both exist and
// are different files or folders (different device or inode after following links).
bool SameEntryIgnoringCase(const QString& a, const QString& b);

// `path` itself when it names an existing file; otherwise the existing file in the same folder
// whose name differs from the last part of `path` only in letter case. When several do, the
// first name in code-point order wins (so "A.LRC" before "a.lrc"). "" when there is none.
// A path without "/" is looked up in the current folder and returned without a folder part.
QString FindFileIgnoringCase(const QString& path);

// A 64-bit key of the text's case-folded form, for hashing paths and names by the rule above:
// two texts that QString::compare finds equal ignoring case always get the same key. The key is
// coarser than that comparison (surrogates and U+FFFD all fold to one mark, and distinct texts
// may share a key), so a hit in a table keyed by it is only a candidate that the comparison,
// or the file system, still has to confirm.
quint64 CaseKey(QStringView text);

}  // namespace lyrova
