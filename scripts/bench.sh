#!/usr/bin/env bash
# Measures Barlink against its performance targets (docs/PERFORMANCE.md).
#
#   scripts/bench.sh            the benchmarks under bench/ and the whole-program figures
#   scripts/bench.sh micro      the benchmarks only
#   scripts/bench.sh process    the whole-program figures only (idle CPU, memory)
#   scripts/bench.sh load       the long load runs (bench_load): a 60 s scanner flood and 1,000 items
#
# Builds a Release tree with the benchmarks in $BUILD_DIR (default build/bench) and writes
# the results (Google Benchmark JSON, /usr/bin/time reports) to $BUILD_DIR/results.
# Needs libbenchmark-dev, and dbus-daemon for the list manager out of process (bench_scanlatency's
# BM_AckListManager/bus:1, bench_listmanagerbus); the whole-program figures need /usr/bin/time
# (package "time").
# IDLE_SECONDS (default 60), FLOOD_SECONDS (60) and LOAD_ITEMS (1000) shorten the runs.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$here/build/bench}"
results="$build/results"
mode="${1:-all}"
idle_seconds="${IDLE_SECONDS:-60}"
jobs="${JOBS:-2}"

say() { printf '\n== %s\n' "$*"; }

configure() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBARLINK_BENCH=ON \
        -DBARLINK_BUILD_TESTS=OFF >/dev/null
    mkdir -p "$results"
}

run_micro() {
    say "building the benchmarks"
    cmake --build "$build" -j"$jobs" --target bench_itemhandling bench_scanlatency \
        bench_programfilereader bench_listmanager bench_compressedlabel bench_journal bench_spill \
        bench_listmanagerbus
    for bench in bench_itemhandling bench_programfilereader bench_compressedlabel \
        bench_listmanager bench_scanlatency bench_journal bench_spill bench_listmanagerbus; do
        say "$bench"
        QT_QPA_PLATFORM=offscreen "$build/bench/$bench" \
            --benchmark_out="$results/$bench.json" --benchmark_out_format=json
    done
}

# The virtual scanner's pseudo-terminal, its link and the program's folders live here.
make_station() {
    station="$(mktemp -d)"
    mkdir -p "$station/config/barlink" "$station/data" "$station/home" "$station/run"
    chmod 700 "$station/run"
    # barlink-scan waits for labels on its standard input, which stays open and empty.
    mkfifo "$station/labels"
    "$build/bin/barlink-scan" --link "$station/scanner" <"$station/labels" >"$station/scan.log" &
    scanner_pid=$!
    exec 9>"$station/labels"
    for _ in $(seq 50); do [ -e "$station/scanner" ] && break; sleep 0.1; done
    printf '[GESTBCOD]\r\nCommDevice=%s\r\nCommPollTime=100\r\nAutoClear= 0\r\nAutoStart= 0\r\n' \
        "$station/scanner" >"$station/config/barlink/KTQ.INI"
}

drop_station() {
    exec 9>&-
    kill "$scanner_pid" 2>/dev/null || true
    wait "$scanner_pid" 2>/dev/null || true
    rm -rf "$station"
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_kb() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

run_process() {
    command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (apt-get install time)"; exit 1; }
    say "building the program"
    cmake --build "$build" -j"$jobs" --target barlink barlink-scan
    make_station
    say "Barlink idle for $idle_seconds s at CommPollTime 100 (offscreen)"
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$station/config" XDG_DATA_HOME="$station/data" \
        XDG_RUNTIME_DIR="$station/run" HOME="$station/home" \
        /usr/bin/time -v -o "$results/idle-time.txt" "$build/bin/barlink" &
    time_pid=$!
    sleep 1
    barlink_pid="$(pgrep -P "$time_pid" -x barlink)"
    sleep 4 # start-up done: windows shown, port open, list handed out
    hz="$(getconf CLK_TCK)"
    ticks_start="$(cpu_ticks "$barlink_pid")"
    rss_start="$(rss_kb "$barlink_pid")"
    sleep "$idle_seconds"
    ticks_end="$(cpu_ticks "$barlink_pid")"
    rss_end="$(rss_kb "$barlink_pid")"
    # It was waiting for labels, not stuck: one more label is answered.
    echo "%19CHECK.CNC N" >&9
    live=no
    for _ in $(seq 100); do grep -q ACK "$station/scan.log" && { live=yes; break; }; sleep 0.1; done
    kill -TERM "$barlink_pid"
    wait "$time_pid" 2>/dev/null || true
    drop_station
    {
        echo "start-up CPU: $(awk -v t="$ticks_start" -v hz="$hz" 'BEGIN { printf "%.2f", t / hz }') s"
        echo "idle CPU over $idle_seconds s: $(awk -v a="$ticks_start" -v b="$ticks_end" -v hz="$hz" \
            'BEGIN { printf "%.2f", (b - a) / hz }') s (target 0.3 s per 60 s)"
        echo "resident memory after start: $((rss_start / 1024)) MB, after the idle time:" \
            "$((rss_end / 1024)) MB (target 80 MB)"
        echo "answered a label afterwards: $live"
        grep -E "Maximum resident|User time|System time|Elapsed" "$results/idle-time.txt"
    } | tee "$results/idle.txt"
}

run_load() {
    say "building the load benchmark"
    cmake --build "$build" -j"$jobs" --target bench_load
    say "a ${FLOOD_SECONDS:-60} s scanner flood, long labels, ${LOAD_ITEMS:-1000} items back to back"
    BARLINK_FLOOD_SECONDS="${FLOOD_SECONDS:-60}" BARLINK_LOAD_ITEMS="${LOAD_ITEMS:-1000}" \
        QT_QPA_PLATFORM=offscreen "$build/bench/bench_load" \
        --benchmark_out="$results/bench_load.json" --benchmark_out_format=json
}

configure
case "$mode" in
all) run_micro; run_process ;;
micro) run_micro ;;
process) run_process ;;
load) run_load ;;
*) sed -n '2,14p' "$0"; exit 2 ;;
esac
say "results in $results"
