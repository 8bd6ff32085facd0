#pragma once

#include <QString>

// The suite's version and the two informational options every program answers before it opens
// a window (so they work without a display): "--version" prints "<program> <version>", "--help"
// prints the program's usage text; both on standard output, status 0.
namespace lyrova {

// The suite's version, "0.1.0", as CMake's project(VERSION) sets it.
QString SuiteVersion();

// The line the About boxes show beside the program's own version: "套件版本 0.1.0".
QString SuiteVersionLine();

enum class InfoRequest { None, Version, Help };

// Where on the command line the options count: anywhere (the Player, whose other options may
// stand anywhere too) or only as the one argument (programs whose arguments are file names).
enum class InfoPlacement { Anywhere, OnlyArgument };

// The request among argv[1..argc-1]: "--version", or "--help" / "-h"; the first one found wins.
// A file of such a name is still reached as "./--help".
InfoRequest FindInfoRequest(int argc, const char* const* argv, InfoPlacement placement);

// Prints the answer to `request` on standard output; returns the exit status (0).
int AnswerInfoRequest(InfoRequest request, const char* program, const char* helpText);

}  // namespace lyrova
