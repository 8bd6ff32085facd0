#include "media/mpvlibrary.h"

#include <QLibrary>

namespace lyrova {
namespace {

template <typename Function>
bool Resolve(QLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.resolve(name));
  return function != nullptr;
}

}  // namespace

const MpvLibrary* LoadMpvLibrary(QString* whyNot) {
  static MpvLibrary functions;
  static bool tried = false;
  static bool loaded = false;
  static QString error;
  if (!tried) {
    tried = true;
    // LYROVA_LIBMPV names another libmpv file (a build of one's own, or none, for tests).
    const QString named = qEnvironmentVariable("LYROVA_LIBMPV");
    QLibrary library;
    if (named.isEmpty())
      library.setFileNameAndVersion(QStringLiteral("mpv"), MPV_CLIENT_API_VERSION >> 16);
    else
      library.setFileName(named);
    loaded = library.load() && Resolve(library, "mpv_create", functions.create) &&
             Resolve(library, "mpv_initialize", functions.initialize) &&
             Resolve(library, "mpv_terminate_destroy", functions.terminate_destroy) &&
             Resolve(library, "mpv_set_option", functions.set_option) &&
             Resolve(library, "mpv_set_option_string", functions.set_option_string) &&
             Resolve(library, "mpv_set_property", functions.set_property) &&
             Resolve(library, "mpv_get_property", functions.get_property) &&
             Resolve(library, "mpv_command", functions.command) &&
             Resolve(library, "mpv_command_node", functions.command_node) &&
             Resolve(library, "mpv_wait_event", functions.wait_event) &&
             Resolve(library, "mpv_error_string", functions.error_string);
    if (!loaded) error = QStringLiteral("libmpv not available: ") + library.errorString();
  }
  if (!loaded && whyNot) *whyNot = error;
  return loaded ? &functions : nullptr;
}

}  // namespace lyrova
