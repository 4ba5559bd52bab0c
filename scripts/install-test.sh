#!/usr/bin/env bash
# Installs the built package on this machine, checks what an installation must give (the
# programs, their manual pages, the desktop entries, the icon, the metainfo, the list manager's
# bus service and interface, a label tried from the installed program, a row added through the
# bus on a private session bus, a station and its list manager on it), then removes it and
# checks that nothing of it is left.
# Meant for a throwaway machine (CI): it installs and purges the package "barlink".
#   scripts/install-test.sh build/release/barlink_<version>_amd64.deb
set -euo pipefail
deb=$(realpath "$1")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
BARLINK_EXTRA_PACKAGES="desktop-file-utils appstream man-db libglib2.0-bin" "$(dirname "$0")/install-deps.sh"
fail() { echo "install test: $*" >&2; exit 1; }

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -q "$deb"
files=$(dpkg -L barlink | while read -r f; do if [ -f "$f" ]; then echo "$f"; fi; done)

for program in barlink barlink-listmanager barlink-scan barlink-label; do
    [ "$(command -v $program)" = /usr/bin/$program ] || fail "$program is not in /usr/bin"
    $program --version | grep -q '^barlink' || fail "$program --version answers wrongly"
    [ -f /usr/share/man/man1/$program.1.gz ] || fail "no manual page for $program"
    man -w $program >/dev/null || fail "man does not find $program"
done
# Every long option that --help names is in the manual page too.
for program in barlink barlink-listmanager barlink-scan barlink-label; do
    page=$(MANWIDTH=200 man $program 2>/dev/null)
    for option in $($program --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
        grep -qF -- "$option" <<<"$page" || fail "the manual page of $program lacks $option"
    done
done

desktop-file-validate /usr/share/applications/org.barlink.Barlink.desktop
desktop-file-validate /usr/share/applications/org.barlink.ListManager.desktop
grep -qx 'Exec=/usr/bin/barlink-listmanager' /usr/share/dbus-1/services/org.barlink.ListManager.service \
    || fail "no bus service file for the list manager"
[ -f /usr/share/dbus-1/interfaces/org.barlink.ListManager.xml ] || fail "no interface XML"
appstreamcli validate --no-net /usr/share/metainfo/org.barlink.Barlink.metainfo.xml
[ -f /usr/share/icons/hicolor/scalable/apps/barlink.svg ] || fail "no icon"
[ -f /usr/share/doc/barlink/copyright ] || fail "no copyright file"
[ -f /usr/share/doc/barlink/examples/KTQ.INI ] || fail "no example settings"
for f in cutlist.csv cutlist.pdf; do
    [ -f /usr/share/doc/barlink/examples/$f ] || fail "no example $f"
done
# The example cutting list's labels from the installed program, without a display.
sheet=$(mktemp -d)
(cd /usr/share/doc/barlink/examples && env -i PATH=/usr/bin:/bin HOME="$sheet" \
    barlink-label --sheet cutlist.csv --programs . -o "$sheet/labels.pdf") \
    || fail "barlink-label --sheet on the example cutting list failed"
[ "$(head -c 5 "$sheet/labels.pdf")" = "%PDF-" ] || fail "barlink-label --sheet wrote no PDF"
rm -rf "$sheet"

# One label through the installed program, on the example settings in an empty home: the
# program name DEMO gives one row, its size read from the example program, and trying writes
# nothing anywhere.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
examples=/usr/share/doc/barlink/examples
mkdir -p "$home/.config/barlink" "$home/product"
sed "s#/home/operator/.local/share/barlink#$home#" $examples/KTQ.INI >"$home/.config/barlink/KTQ.INI"
cp $examples/DEMO.CNC "$home/product/"
before=$(cd "$home" && find . -exec stat -c '%n %s %Y' {} + | sort)
out=$(env -i HOME="$home" PATH=/usr/bin:/bin barlink --try DEMO) || fail "barlink --try DEMO failed"
echo "$out"
grep -q '^#161=DEMO.CNC;.*#168=800;#169=600;#170=18;' <<<"$out" || fail "barlink --try DEMO did not print its row"
[ "$(cd "$home" && find . -exec stat -c '%n %s %Y' {} + | sort)" = "$before" ] \
    || fail "barlink --try wrote into the home folder"

# The list manager on a private session bus, started by the bus from the installed service file
# at the first call: a row added through the bus is read back, and the list manager keeps it
# on the disk. (The station on such a bus, its items reaching the list manager, is tested by
# tst_stationfaults with the built programs.)
cat >"$home/bus.sh" <<'BUS'
set -eu
call() { gdbus call --session --dest org.barlink.ListManager --object-path "$@"; }
list=org.barlink.ListManager.ExeList
call /ExeList/1 --method $list.AddLine '#161=BUS.CNC;#162=;' >/dev/null
call /ExeList/1 --method $list.GetLine 1
call /ExeList/1 --method org.freedesktop.DBus.Properties.Get $list Rows
pid=$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.GetConnectionUnixProcessID org.barlink.ListManager |
      tr -dc '0-9 ' | awk '{print $NF}')
kill "$pid"
BUS
out=$(env -i HOME="$home" PATH=/usr/bin:/bin XDG_DATA_HOME="$home/data" QT_QPA_PLATFORM=offscreen \
      dbus-run-session -- bash "$home/bus.sh") || fail "the list manager on a private bus failed"
echo "$out"
grep -qF "('#161=BUS.CNC;#162=;',)" <<<"$out" || fail "the row added through the bus was not read back"
grep -qF "(<1>,)" <<<"$out" || fail "the list does not hold the one row added"
grep -qF '#161=BUS.CNC;' "$home"/data/barlink/* 2>/dev/null || fail "the list manager did not keep the row"

$sudo apt-get purge -y -q barlink
left=$(for f in $files; do if [ -e "$f" ]; then echo "$f"; fi; done)
[ -z "$left" ] || fail "left after removal: $left"
if dpkg -s barlink >/dev/null 2>&1; then fail "the package is still known to dpkg"; fi
echo "install test: $(wc -l <<<"$files") files installed and removed, every check passed"
