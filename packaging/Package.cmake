# The Debian package (`./make.sh package`, or `cpack -G DEB` in the build folder): the suite
# installed for every user of the machine.
#
#   /usr/lib/lyrova/          the program folder: the four programs (and the chat bridge when
#                             MinGW built it), help.html, emotions.ini, the empty "Lrc" folder and
#                             the mark that makes every program keep its lists per user
#   /usr/bin/                 links lyrova, versel, scoutel, lrctool into the program folder
#   /usr/share/...            desktop entries, hicolor icons, AppStream data, the "*.lrc" type,
#                             man pages, copyright and change log, lintian's overrides
#
# The package's files are the install component "deb", left out of a plain `cmake --install`,
# which keeps installing the user's own folder of Install.cmake.
find_program(LYROVA_RSVG_CONVERT rsvg-convert)
find_program(LYROVA_GZIP gzip)
find_program(LYROVA_DPKG_QUERY dpkg-query)
if(NOT LYROVA_RSVG_CONVERT OR NOT LYROVA_GZIP)
  message(STATUS "rsvg-convert or gzip missing: the Debian package is not made")
  return()
endif()
set(LYROVA_PACKAGE_READY ON)

set(pkg_build ${CMAKE_BINARY_DIR}/packaging)
set(program_dir lib/lyrova)
set(lyrova_deb COMPONENT deb EXCLUDE_FROM_ALL)

install(TARGETS lyrova Versel Scoutel lrctool RUNTIME DESTINATION ${program_dir} ${lyrova_deb})
install(FILES ${PROJECT_SOURCE_DIR}/player/help/help.html ${PROJECT_SOURCE_DIR}/player/chat/emotions.ini
        DESTINATION ${program_dir} ${lyrova_deb})
if(TARGET lyrova_chatbridge_exe OR EXISTS ${CMAKE_BINARY_DIR}/bin/lyrova-chatbridge.exe)
  set(LYROVA_PACKAGE_HAS_BRIDGE ON)
endif()
install(PROGRAMS ${CMAKE_BINARY_DIR}/bin/lyrova-chatbridge.exe DESTINATION ${program_dir} OPTIONAL ${lyrova_deb})
install(DIRECTORY DESTINATION ${program_dir}/Lrc ${lyrova_deb})
file(WRITE ${pkg_build}/system-wide
  "This program folder is shared by all users of the machine: each keeps the lyrics lists in\n"
  "the data folder of their own (~/.local/share/Lyrova).\n")
install(FILES ${pkg_build}/system-wide DESTINATION ${program_dir} ${lyrova_deb})

# The links in /usr/bin are relative, as Debian wants within /usr. The Editor and the Scanner
# get lower-case command names; their files keep the names the programs start each other by.
foreach(link lyrova:lyrova versel:Versel scoutel:Scoutel lrctool:lrctool)
  string(REPLACE ":" ";" pair ${link})
  list(GET pair 0 command)
  list(GET pair 1 program)
  file(MAKE_DIRECTORY ${pkg_build}/bin)
  file(CREATE_LINK ../${program_dir}/${program} ${pkg_build}/bin/${command} SYMBOLIC)
  install(FILES ${pkg_build}/bin/${command} DESTINATION bin ${lyrova_deb})
endforeach()

# Desktop entries naming the commands and the theme icons.
foreach(entry lyrova:lyrova versel:versel scoutel:scoutel)
  string(REPLACE ":" ";" pair ${entry})
  list(GET pair 0 name)
  list(GET pair 1 LYROVA_EXEC)
  set(LYROVA_ICON ${name})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${name}.desktop.in ${pkg_build}/applications/${name}.desktop @ONLY)
  install(FILES ${pkg_build}/applications/${name}.desktop DESTINATION share/applications ${lyrova_deb})
endforeach()

# Theme icons: the SVGs as they are, and PNGs drawn from them at every size the hicolor theme
# lists for applications.
set(LYROVA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_outputs "")
foreach(icon lyrova versel scoutel)
  set(svg ${CMAKE_CURRENT_LIST_DIR}/icons/${icon}.svg)
  install(FILES ${svg} DESTINATION share/icons/hicolor/scalable/apps ${lyrova_deb})
  foreach(size IN LISTS LYROVA_ICON_SIZES)
    set(png ${pkg_build}/icons/${size}x${size}/${icon}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_build}/icons/${size}x${size}
      COMMAND ${LYROVA_RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${svg}
      DEPENDS ${svg} VERBATIM)
    list(APPEND icon_outputs ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps ${lyrova_deb})
  endforeach()
endforeach()

# Man pages with the suite's version, compressed the way Debian wants them (best compression, no
# name or time stamp).
set(man_outputs "")
foreach(page lyrova versel scoutel lrctool)
  set(source ${pkg_build}/man/${page}.1)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/man/${page}.1.in ${source} @ONLY)
  set(gz ${pkg_build}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_build}/man
    COMMAND ${LYROVA_GZIP} -9 -n -c ${source} > ${gz}
    DEPENDS ${source})
  list(APPEND man_outputs ${gz})
  install(FILES ${gz} DESTINATION share/man/man1 ${lyrova_deb})
endforeach()

set(changelog_gz ${pkg_build}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_build}/doc
  COMMAND ${LYROVA_GZIP} -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/changelog > ${changelog_gz}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(lyrova_package_files ALL DEPENDS ${icon_outputs} ${man_outputs} ${changelog_gz})

install(FILES ${changelog_gz} ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION share/doc/lyrova ${lyrova_deb})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/org.example.lyrova.metainfo.xml DESTINATION share/metainfo ${lyrova_deb})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lyrova-mime.xml DESTINATION share/mime/packages
        RENAME lyrova.xml ${lyrova_deb})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides DESTINATION share/lintian/overrides
        RENAME lyrova ${lyrova_deb})

# What the programs load at run time, which dpkg-shlibdeps cannot see in their links: libmpv
# (opened by media/mpvlibrary.cpp under the major version of the headers built against), Qt's
# Chinese translations (common/qttranslations.cpp) and a font with the Chinese characters.
set(libmpv_package "")
find_path(LYROVA_MPV_INCLUDE mpv/client.h)
if(LYROVA_MPV_INCLUDE)
  file(STRINGS ${LYROVA_MPV_INCLUDE}/mpv/client.h api_line REGEX "^#define MPV_CLIENT_API_VERSION")
  if(api_line MATCHES "MPV_MAKE_VERSION\\(([0-9]+)")
    set(mpv_major ${CMAKE_MATCH_1})
    find_library(LYROVA_LIBMPV_RUNTIME NAMES libmpv.so.${mpv_major})
    if(LYROVA_LIBMPV_RUNTIME AND LYROVA_DPKG_QUERY)
      file(REAL_PATH ${LYROVA_LIBMPV_RUNTIME} mpv_file)
      execute_process(COMMAND ${LYROVA_DPKG_QUERY} -S ${mpv_file} OUTPUT_VARIABLE owner
                      ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(owner MATCHES "^([a-z0-9.+-]+)[:,]")
        set(libmpv_package ${CMAKE_MATCH_1})
      endif()
    endif()
    if(libmpv_package STREQUAL "")
      set(libmpv_package libmpv${mpv_major})
    endif()
  endif()
endif()
if(libmpv_package STREQUAL "")
  set(libmpv_package libmpv2)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lyrova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lyrova developers")
set(CPACK_PACKAGE_CONTACT "Lyrova developers <maintainers@lyrova.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Lyrova;deb;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://lyrova.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "${libmpv_package}, qt6-translations-l10n, fonts-noto-cjk | fonts-wqy-zenhei")
# xdg-utils opens the help page and the folders; Wine runs the chat bridge.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
if(LYROVA_PACKAGE_HAS_BRIDGE)
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", wine")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "time-synchronised song lyrics (LRC) player and editor")
# CPack puts the summary above these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lyrova is a small desktop suite for LRC lyrics with a Simplified Chinese
interface. The Player plays a song, finds its lyrics without asking and
shows the current and the next line in a narrow strip above the other
windows, in step with the music; it can also type each line into a chat
window. The Editor stamps playback times onto lyric lines and saves LRC
files; the Scanner finds every folder holding lyrics for the Player's
search list; lrctool reads and rewrites LRC files on the command line.")
