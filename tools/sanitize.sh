#!/usr/bin/env bash
# Builds Kolmara and all its tests with AddressSanitizer and UndefinedBehaviorSanitizer (gcc) in
# build-sanitize/ and runs the whole suite there, offscreen. A finding ends its test at once with
# the report on the test's output. Arguments go to ctest (for example -R tst_profilefile).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
kolmara_install_deps

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DKOLMARA_SANITIZE=ON -DKOLMARA_ASSERTS=ON >/dev/null
cmake --build build-sanitize

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
QT_QPA_PLATFORM=offscreen ctest --test-dir build-sanitize --output-on-failure -j2 --timeout 1200 "$@"
