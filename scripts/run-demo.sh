#!/usr/bin/env bash
# Installs what is missing, builds Barlink and starts it in a ready-made demo station:
# settings, folders and the list under ./demo, the embedded list manager, and the
# virtual scanner in this terminal (type a label and press Enter to scan it).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin="$root/build/release/bin"
demo="${BARLINK_DEMO_DIR:-$root/demo}"
mkdir -p "$demo/config/barlink" "$demo/data" "$demo/product/lsx" "$demo/csv-in" "$demo/runtime"
chmod 700 "$demo/runtime"
scanner="$demo/scanner"

ini="$demo/config/barlink/KTQ.INI"
if [ ! -f "$ini" ]; then
    printf '%s\r\n' \
        "[GESTBCOD]" \
        "CommDevice=$scanner" \
        "CommPort=1" \
        "Settings=9600,N,8,1" \
        "CommPollTime=300" \
        "GCodePath=$demo/product/" \
        "ListPath=$demo/product/lsx/" \
        "CSVInPath=$demo/csv-in/" \
        "CSVOutPath=$demo/Barlink.csv" \
        "AutoClear= 0" \
        "AutoStart= 0" \
        "Overwrite= 1" \
        "DFN=N" >"$ini"
fi

export XDG_CONFIG_HOME="$demo/config"
export XDG_DATA_HOME="$demo/data"
export XDG_RUNTIME_DIR="$demo/runtime"

xvfb_pid=""
cleanup() {
    [ -n "${barlink_pid:-}" ] && kill "$barlink_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export DISPLAY=":${BARLINK_XVFB_DISPLAY:-97}"
    Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    echo "No display found: Barlink runs on the virtual display $DISPLAY (Xvfb)."
    echo "Take a screenshot with: DISPLAY=$DISPLAY import -window root shot.png"
fi

# Barlink opens the scanner device at start-up: start it once the virtual scanner is there.
(
    for _ in $(seq 100); do [ -e "$scanner" ] && break; sleep 0.1; done
    exec "$bin/barlink"
) &
barlink_pid=$!

echo "Demo station in $demo (settings: $ini)."
echo "Type a label and press Enter to scan it, e.g. %START%  or  %11DEMO.CNC  ; Ctrl-D ends the demo."
"$bin/barlink-scan" --link "$scanner"
