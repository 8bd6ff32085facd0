# lyrova_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [PRIVATE_BUS])
# One executable per test file, registered with CTest. Every test runs without a screen and
# with its own configuration folder inside the build tree, so no test can touch a user's settings.
# PRIVATE_BUS runs the test under dbus-run-session: a session bus of its own, started for the
# test and gone after it, so no test sees or disturbs the desktop's players and services.
function(lyrova_add_test)
  cmake_parse_arguments(T "PRIVATE_BUS" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE lyrova_config Qt6::Test ${T_LIBS})
  target_compile_definitions(${T_NAME} PRIVATE
    LYROVA_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    LYROVA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(T_PRIVATE_BUS)
    find_program(LYROVA_DBUS_RUN_SESSION dbus-run-session REQUIRED)
    add_test(NAME ${T_NAME} COMMAND ${LYROVA_DBUS_RUN_SESSION} -- $<TARGET_FILE:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  endif()
  set(home ${CMAKE_BINARY_DIR}/test-home/${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;LC_ALL=C.UTF-8")
endfunction()
