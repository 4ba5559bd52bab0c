#!/usr/bin/env bash
# Installs what is missing, builds Barlink and starts it in a ready-made demo station:
# settings, folders and the list under ./demo, the list manager (barlink-listmanager) on a
# session bus of the demo's own, and the virtual scanner in this terminal (type a label and
# press Enter to scan it).
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
        "FieldCode_FFS=S" "FieldFlag_FFS= 1" \
        "FieldCode_FFA=A" "FieldFlag_FFA= 1" \
        "FieldCode_SFN=N" "FieldCode_SFM=M" \
        "FieldCode_DFN=N" \
        "HalfLimitX=1000" "HalfLimitY=600" >"$ini"
fi
# A program file (dimensions and comment are read from it) and a saved list.
[ -f "$demo/product/DEMO.CNC" ] || printf '%s\r\n' "G71 X800 Y600 Z18" "(DEMO PANEL)" "G0 X0 Y0" >"$demo/product/DEMO.CNC"
[ -f "$demo/product/lsx/DEMO.LST" ] || printf '%s\r\n' \
    "#161=SHELF.CNC;#162=;#164=1;#165=1;#281=;#171=3;#284=0;#285=;#280=;#168=500;#169=300;#170=18;#282=;#283=;#223=;#277=;#278=;#279=;" \
    "#161=DOOR.CNC;#162=;#164=2;#165=1;#281=;#171=1;#284=0;#285=;#280=;#168=700;#169=400;#170=18;#282=;#283=;#223=;#277=;#278=;#279=;" \
    >"$demo/product/lsx/DEMO.LST"

export XDG_CONFIG_HOME="$demo/config"
export XDG_DATA_HOME="$demo/data"
export XDG_RUNTIME_DIR="$demo/runtime"

# Barlink reaches the list manager over a session bus: the demo runs on one of its own, so that
# its list manager keeps the demo's list and ends with the demo. Barlink starts the list
# manager from beside itself when the bus cannot.
if [ -z "${BARLINK_DEMO_BUS:-}" ]; then
    export BARLINK_DEMO_BUS=1
    exec dbus-run-session -- "$0" "$@"
fi

xvfb_pid=""
cleanup() {
    [ -n "${barlink_pid:-}" ] && kill "$barlink_pid" 2>/dev/null || true
    # The list manager outlives a station; the demo's ends with the demo.
    list_pid=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID \
        string:org.barlink.ListManager 2>/dev/null | awk '{print $NF}') || true
    [ -n "${list_pid:-}" ] && kill "$list_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    export DISPLAY=":${BARLINK_XVFB_DISPLAY:-97}"
    Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
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
cat <<'HELP'
Type a label and press Enter to scan it. Try:
  DEMO                  a program name: one row, field N, size read from DEMO.CNC
  %12PANEL.CNC S1 X     then  %22600 400 18   an item in two labels
  %S%                   then  SHELF           a field-code label, then a name
  %01DEMO               load the saved list DEMO.LST
  %START%  %STOP%  %END%  %CLEAR%             list commands
Ctrl-D ends the demo.
HELP
"$bin/barlink-scan" --link "$scanner"
