#!/usr/bin/env bash
# Sets the suite up and runs it. Every command installs what is missing and builds first.
#   ./make.sh demo        play the bundled demo song with its lyrics
#   ./make.sh test        run the whole test suite
#   ./make.sh sanitize    run the unit tests again under AddressSanitizer and UBSan
#   ./make.sh build       only build (into build/)
#   ./make.sh bench       build and run the benchmarks
#   ./make.sh fuzz [SECS] build the fuzz targets with clang and run each for SECS seconds
#   ./make.sh shots [DIR] render the Player window in its main states to PNG files (default shots/)
#   ./make.sh install [DIR] install the suite into DIR (default ~/.local/opt/lyrova) with menu entries
#   ./make.sh package     make the Debian package lyrova_<version>_<arch>.deb in this folder
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)
jobs=$(nproc 2>/dev/null || echo 2)

configure_and_build() {  # build-dir, extra cmake arguments...
  local dir=$1; shift
  # CMake's warnings and errors (on standard error) always show, and so do the suite's own
  # status lines, such as a part that is not built for want of a tool; the routine checks and
  # "Found ..." lines are left out.
  cmake -S "$top" -B "$dir" -G Ninja "$@" |
    { grep -v -E '^-- (The [A-Z]+ compiler|Detecting|Check|Performing|Looking|Found|Configuring done|Generating done|Build files)' || true; }
  cmake --build "$dir" -j "$jobs"
}

case "${1:-demo}" in
  build)
    scripts/install-deps.sh
    configure_and_build build
    ;;
  demo)
    scripts/install-deps.sh
    configure_and_build build
    exec scripts/run-demo.sh "$top/build/bin"
    ;;
  test)
    scripts/install-deps.sh
    configure_and_build build
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  sanitize)
    scripts/install-deps.sh
    configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DLYROVA_SANITIZE=ON -DLYROVA_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      LSAN_OPTIONS=suppressions="$top/tests/lsan.supp":print_suppressions=0 \
      ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
  bench)
    scripts/install-deps.sh
    configure_and_build build -DLYROVA_BENCH=ON
    exec bench/run.sh "$top/build"
    ;;
  fuzz)
    scripts/install-deps.sh
    configure_and_build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DLYROVA_FUZZ=ON -DLYROVA_BENCH=OFF
    exec tests/fuzz/run.sh "$top/build-fuzz" "${2:-60}"
    ;;
  shots)
    scripts/install-deps.sh
    configure_and_build build
    QT_QPA_PLATFORM=offscreen build/bin/playershots "${2:-$top/shots}"
    ;;
  install)
    scripts/install-deps.sh
    configure_and_build build
    if [ -n "${2:-}" ]; then cmake --install build --prefix "$2"; else cmake --install build; fi
    ;;
  package)
    scripts/install-deps.sh
    configure_and_build build
    rm -rf build/package
    cpack --config build/CPackConfig.cmake -G DEB -B build/package
    mv build/package/lyrova_*.deb "$top/"
    ls "$top"/lyrova_*.deb
    ;;
  *)
    sed -n '2,12p' "$0"
    exit 2
    ;;
esac
