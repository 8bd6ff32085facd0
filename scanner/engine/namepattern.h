#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// A file-name wildcard ("*.lrc") matched against the raw bytes of directory entries, so the
// scan decodes only the names it reports. "*" matches any run of characters, "?" exactly one
// character (one UTF-8 sequence); every other character matches itself, ASCII letters in either
// case, as file names match on a case-insensitive file system.
namespace lyrova {

class NamePattern {
 public:
  explicit NamePattern(const QString& pattern = {});

  bool IsEmpty() const { return pattern_.isEmpty(); }
  bool Matches(const char* name, std::size_t length) const;
  bool Matches(const QString& name) const;

 private:
  QByteArray pattern_;
  // "*" followed by a wildcard-free tail (the usual "*.ext"): a suffix test is enough.
  bool suffixOnly_ = false;
};

}  // namespace lyrova
