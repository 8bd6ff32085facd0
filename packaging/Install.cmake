# Installation: the programs and their data files go into one folder, as in build/bin, because
# the programs find each other and their data there. The default folder is in the user's home,
# so the data files stay writable; `cmake --install build --prefix DIR` picks another. Desktop
# entries with icons for the Player, the Editor and the Scanner go into the user's applications
# folder (LYROVA_DESKTOP_DIR, default $XDG_DATA_HOME/applications or ~/.local/share/applications).
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local/opt/lyrova" CACHE PATH "Where the suite is installed" FORCE)
endif()
set(LYROVA_DESKTOP_DIR "" CACHE PATH "Folder for the desktop entries (empty: the user's applications folder)")

install(TARGETS lyrova Versel Scoutel lrctool RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/player/help/help.html DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/player/chat/emotions.ini DESTINATION .)
# The chat bridge exists only where the MinGW toolchain built it.
install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/lyrova-chatbridge.exe DESTINATION . OPTIONAL)
# The built-in lyrics folder, empty until the user puts lyrics there.
install(DIRECTORY DESTINATION Lrc)
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/ DESTINATION icons FILES_MATCHING PATTERN "*.svg")

# Every type shared-mime-info gives the audio file names the Player opens (AllAudioPatterns in
# common/audiofilters.cpp); tst_desktopentries holds the two lists together.
set(LYROVA_AUDIO_TYPES "audio/ac3;audio/vnd.dts;audio/mpeg;audio/mp2;audio/midi;audio/aac;audio/x-ms-wma;audio/ogg;audio/x-vorbis+ogg;audio/x-flac+ogg;audio/x-opus+ogg;audio/x-speex+ogg;audio/x-wav;audio/flac;audio/mp4;audio/x-m4a;audio/x-ape;audio/x-wavpack;audio/x-aiff;audio/x-matroska;")
# The desktop entries name the folder the suite was really installed into, which is known only
# when installing (--prefix may change it).
install(CODE "
  set(desktop_dir \"${LYROVA_DESKTOP_DIR}\")
  if(desktop_dir STREQUAL \"\")
    if(DEFINED ENV{XDG_DATA_HOME} AND NOT \"\$ENV{XDG_DATA_HOME}\" STREQUAL \"\")
      set(desktop_dir \"\$ENV{XDG_DATA_HOME}/applications\")
    else()
      set(desktop_dir \"\$ENV{HOME}/.local/share/applications\")
    endif()
  endif()
  set(desktop_dir \"\$ENV{DESTDIR}\${desktop_dir}\")
  file(MAKE_DIRECTORY \"\${desktop_dir}\")
  set(LYROVA_AUDIO_TYPES \"${LYROVA_AUDIO_TYPES}\")
  foreach(item lyrova:lyrova versel:Versel scoutel:Scoutel)
    string(REPLACE \":\" \";\" pair \${item})
    list(GET pair 0 entry)
    list(GET pair 1 program)
    set(LYROVA_EXEC \"\\\"\${CMAKE_INSTALL_PREFIX}/\${program}\\\"\")
    set(LYROVA_ICON \"\${CMAKE_INSTALL_PREFIX}/icons/\${entry}.svg\")
    configure_file(\"${CMAKE_CURRENT_LIST_DIR}/\${entry}.desktop.in\" \"\${desktop_dir}/\${entry}.desktop\" @ONLY)
    message(STATUS \"Installing: \${desktop_dir}/\${entry}.desktop\")
  endforeach()
")
