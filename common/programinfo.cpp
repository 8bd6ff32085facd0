#include "common/programinfo.h"

#include "common/suiteversion.h"

#include <cstdio>
#include <cstring>

namespace lyrova {

QString SuiteVersion() { return QStringLiteral(LYROVA_SUITE_VERSION); }

QString SuiteVersionLine() { return QStringLiteral("套件版本 ") + SuiteVersion(); }

namespace {

InfoRequest RequestOf(const char* argument) {
  if (std::strcmp(argument, "--version") == 0) return InfoRequest::Version;
  if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) return InfoRequest::Help;
  return InfoRequest::None;
}

}  // namespace

InfoRequest FindInfoRequest(int argc, const char* const* argv, InfoPlacement placement) {
  if (placement == InfoPlacement::OnlyArgument) return argc == 2 ? RequestOf(argv[1]) : InfoRequest::None;
  for (int i = 1; i < argc; ++i) {
    const InfoRequest request = RequestOf(argv[i]);
    if (request != InfoRequest::None) return request;
  }
  return InfoRequest::None;
}

int AnswerInfoRequest(InfoRequest request, const char* program, const char* helpText) {
  if (request == InfoRequest::Version)
    std::printf("%s %s\n", program, LYROVA_SUITE_VERSION);
  else if (request == InfoRequest::Help)
    std::fputs(helpText, stdout);
  std::fflush(stdout);
  return 0;
}

}  // namespace lyrova
