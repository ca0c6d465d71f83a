#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (if needed), builds everything and runs every test: once in a
# plain build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# The core, the command line and the simulated radio never include Qt.
if grep -rn '#include <Q' core cli sim; then
  echo "Qt found outside app/" >&2
  exit 1
fi

jobs=$(nproc)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
# Leak checking stays off: the window's tests would report what fontconfig and Qt keep for the
# life of the process.
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The fuzz targets: the core and the libFuzzer programs only, each run briefly over its seeds and
# once over every saved regression input.
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_FUZZ=ON
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

# The Windows build: the core and korvane-cli cross-built with mingw-w64, their tests run under
# Wine, korvane-cli.exe against the simulated radio beside the Linux korvane-cli of build/, and
# the zip a Windows user takes.
export WINEPREFIX="$PWD/build-win/wineprefix" WINEDEBUG=-all
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DKORVANE_LINUX_BUILD="$PWD/build"
cmake --build build-win -j "$jobs"
env -u DISPLAY ctest --test-dir build-win --output-on-failure -j "$jobs"
(cd build-win && cpack -G ZIP)
wineserver -k || true
