#pragma once

#include <mpv/client.h>

#include <QString>

// libmpv, loaded the first time a file is opened rather than when the program starts: libmpv
// brings some two hundred shared libraries with it, and loading them at start-up would delay the
// programs' first window for every user, also for those who never play a song.
namespace lyrova {

struct MpvLibrary {
  decltype(&::mpv_create) create = nullptr;
  decltype(&::mpv_initialize) initialize = nullptr;
  decltype(&::mpv_terminate_destroy) terminate_destroy = nullptr;
  decltype(&::mpv_set_option) set_option = nullptr;
  decltype(&::mpv_set_option_string) set_option_string = nullptr;
  decltype(&::mpv_set_property) set_property = nullptr;
  decltype(&::mpv_get_property) get_property = nullptr;
  decltype(&::mpv_command) command = nullptr;
  decltype(&::mpv_command_node) command_node = nullptr;
  decltype(&::mpv_wait_event) wait_event = nullptr;
  decltype(&::mpv_error_string) error_string = nullptr;
};

// The loaded library, or null when it cannot be loaded (`whyNot` then says why). Loaded once per
// process and never unloaded; call from one thread. The environment variable LYROVA_LIBMPV, when
// set, names the library file to load instead of the system's libmpv.
const MpvLibrary* LoadMpvLibrary(QString* whyNot);

}  // namespace lyrova
