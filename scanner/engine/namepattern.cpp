#include "scanner/engine/namepattern.h"

#include <QFile>

namespace lyrova {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The length of the UTF-8 sequence starting at `lead` (1 for stray continuation bytes, so a
// name that is not valid UTF-8 still advances byte by byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

NamePattern::NamePattern(const QString& pattern) : pattern_(QFile::encodeName(pattern)) {
  for (char& c : pattern_) c = Fold(c);
  suffixOnly_ = pattern_.startsWith('*') && !pattern_.mid(1).contains('*') &&
                !pattern_.mid(1).contains('?');
}

bool NamePattern::Matches(const QString& name) const {
  const QByteArray bytes = QFile::encodeName(name);
  return Matches(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool NamePattern::Matches(const char* name, std::size_t length) const {
  const char* p = pattern_.constData();
  const std::size_t plen = static_cast<std::size_t>(pattern_.size());
  if (plen == 0) return false;
  if (suffixOnly_) {
    const std::size_t tail = plen - 1;
    if (length < tail) return false;
    const char* start = name + (length - tail);
    for (std::size_t i = 0; i < tail; ++i)
      if (Fold(start[i]) != p[i + 1]) return false;
    return true;
  }
  // Greedy match with one backtrack point: the last "*" seen and where its run may end.
  std::size_t pi = 0;
  std::size_t ni = 0;
  constexpr std::size_t kNoStar = static_cast<std::size_t>(-1);
  std::size_t starP = kNoStar;
  std::size_t starN = 0;
  while (ni < length) {
    if (pi < plen && p[pi] == '*') {
      starP = ++pi;
      starN = ni;
      continue;
    }
    if (pi < plen && p[pi] == '?') {
      ++pi;
      ni += SequenceLength(static_cast<unsigned char>(name[ni]));
      if (ni > length) ni = length;
      continue;
    }
    if (pi < plen && p[pi] == Fold(name[ni])) {
      ++pi;
      ++ni;
      continue;
    }
    if (starP == kNoStar) return false;
    pi = starP;
    starN += SequenceLength(static_cast<unsigned char>(name[starN]));
    ni = starN;
  }
  while (pi < plen && p[pi] == '*') ++pi;
  return pi == plen;
}

}  // namespace lyrova
