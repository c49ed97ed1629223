#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UndefinedBehaviorSanitizer
# on) in build-fuzz/ and runs each for a bounded time.
#
#   tools/fuzz.sh [seconds per target] [target...]     default: 60 seconds, every target
#   tools/fuzz.sh --install                             only installs clang and its libFuzzer
#
# Each target starts from its checked-in seeds (fuzz/corpus/<target>) and grows its corpus in
# build-fuzz/corpus/<target>, which later runs reuse. An input that breaks a promise or crashes is
# kept as build-fuzz/findings/<target>/crash-* (or leak-, timeout-, oom-): run the target on that
# file to see the report again, and make it a test of the normal suite. FUZZ_JOBS runs that many
# targets at once (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."

apt_install() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "$@"
}

# What the build needs besides the program's own packages (tools/deps.sh): clang and its fuzzer
# library, packaged per clang version (libclang-rt-14-dev on Debian 12).
fuzz_install() {
  source tools/deps.sh
  kolmara_install_deps
  command -v clang++ >/dev/null || apt_install clang
  if ! [ -e "$(clang -print-resource-dir)/lib/linux/libclang_rt.fuzzer-x86_64.a" ]; then
    apt_install "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
  fi
}

if [ "${1:-}" = "--install" ]; then
  fuzz_install
  exit 0
fi
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_profile_file fuzz_text_codec fuzz_hex_password
                                     fuzz_sql_translator fuzz_csv_reader fuzz_dump_line)

fuzz_install
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF -DKOLMARA_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "${targets[@]}"

run_target() {
  local target=$1
  local corpus=build-fuzz/corpus/$target findings=build-fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  local extra=()
  case $target in
    fuzz_sql_translator) extra+=(-dict=fuzz/sql.dict) ;;
  esac
  # leaks are findings too; a slow input (over 10 s) is one as well.
  local status=0
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen \
    build-fuzz/fuzz/"$target" "$corpus" fuzz/corpus/"$target" "${extra[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="$findings/" -print_final_stats=1 \
      >"build-fuzz/findings/$target.log" 2>&1 || status=$?
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/findings/$target.log" | grep -o '[0-9]*$' || echo "?")
  if [ $status -eq 0 ]; then
    echo "$target: ${seconds}s, $runs runs, no finding"
  else
    echo "$target: FINDING after $runs runs (build-fuzz/findings/$target.log):"
    ls "$findings"
  fi
  return $status
}

jobs=${FUZZ_JOBS:-1}
failed=0
pids=()
for target in "${targets[@]}"; do
  run_target "$target" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
exit $failed
