#!/usr/bin/env bash
# Builds the libFuzzer harnesses (configure preset `fuzz`: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds.
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]     (default: 60 seconds, every harness)
#
# Harnesses: scanstream label programbarcode compressedlabel profilefile programfile.
# Each starts from its committed seeds in fuzz/corpus/<harness>/ and keeps what it finds in
# build/fuzz/corpus/<harness>/ (outside the source tree), so later runs go on from there.
# A harness that crashes or breaks a property leaves its input as
# build/fuzz/findings/<harness>/crash-*; replay it with
#   build/fuzz/fuzz/fuzz_<harness> build/fuzz/findings/<harness>/crash-...
# BARLINK_FUZZ_DIR sets another build folder; BARLINK_FUZZ_BUILD=0 runs harnesses already built.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
all=(scanstream label programbarcode compressedlabel profilefile programfile)
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=("${all[@]}")

build=${BARLINK_FUZZ_DIR:-build/fuzz}
if [ "${BARLINK_FUZZ_BUILD:-1}" != 0 ]; then
    cmake --preset fuzz -B "$build" >/dev/null
    cmake --build "$build" --target barlink_fuzzers
fi

symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-$symbolizer}
# Leaks are looked for at the end of each input; a harness's own one-time set-up (the
# application object, the scratch folder) lives for the whole process. Freed memory is held
# back in a quarantine of 16 MB rather than the default 256 MB, which a harness fills within
# a hundred inputs and which made its resident size look like a leak.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# The harnesses' scratch folders, in memory where there is a memory file system; a harness
# that crashes cannot clean up after itself.
shm=/dev/shm
[ -d $shm ] && [ -w $shm ] || shm=${TMPDIR:-/tmp}
BARLINK_FUZZ_SCRATCH=$(mktemp -d "$shm/barlink-fuzz-run.XXXXXX")
export BARLINK_FUZZ_SCRATCH
trap 'rm -rf "$BARLINK_FUZZ_SCRATCH"' EXIT

passed=0
failed=0
summary=()
for h in "${harnesses[@]}"; do
    binary=$build/fuzz/fuzz_$h
    seeds=fuzz/corpus/$h
    corpus=$build/corpus/$h
    findings=$build/findings/$h
    log=$build/logs/$h.log
    if [ ! -x "$binary" ] || [ ! -d "$seeds" ]; then
        echo "fuzz: no harness named '$h' (known: ${all[*]})" >&2
        exit 2
    fi
    mkdir -p "$corpus" "$findings" "$(dirname "$log")"
    echo "== fuzz_$h: ${seconds}s"
    start=$(date +%s)
    status=0
    "$binary" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 -max_len=8192 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1 \
        || status=$?
    elapsed=$(($(date +%s) - start))
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    files=$(find "$corpus" -type f | wc -l)
    line=$(printf '%-16s %10s execs %7s/s  cov %6s  corpus %5s  %4ss' \
        "$h" "${execs:-?}" "${rate:-?}" "${cov:-?}" "$files" "$elapsed")
    if [ $status -eq 0 ]; then
        passed=$((passed + 1))
        summary+=("$line")
    else
        failed=$((failed + 1))
        summary+=("$line  FAILED (exit $status)")
        echo "fuzz_$h failed; the end of $log:" >&2
        grep -E -A30 'property violated|ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error' \
            "$log" | head -n 60 >&2 || tail -n 40 "$log" >&2
        ls "$findings" >&2
    fi
done

echo
echo "harness           executions    rate  coverage       corpus   time"
printf '%s\n' "${summary[@]}"
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
