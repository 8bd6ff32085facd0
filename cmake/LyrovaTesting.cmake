# lyrova_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One executable per test file, registered with CTest. Every test runs without a screen and
# with its own configuration folder inside the build tree, so no test can touch a user's settings.
function(lyrova_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE lyrova_config Qt6::Test ${T_LIBS})
  target_compile_definitions(${T_NAME} PRIVATE
    LYROVA_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
    LYROVA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(home ${CMAKE_BINARY_DIR}/test-home/${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;LC_ALL=C.UTF-8")
endfunction()
