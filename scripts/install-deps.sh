#!/usr/bin/env bash
# Installs the Debian 12 packages Barlink needs to build, test and run its demo.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    qt6-multimedia-dev # the result sounds (QSoundEffect)
    qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools # the translations (lupdate, lrelease)
    qt6-translations-l10n # Qt's own German and Italian texts (the standard buttons)
    libqt6sql6-sqlite libqt6sql6-psql postgresql # the scan journal, and the tests' private server
    libsqlite3-dev # the journal's export reads the file through SQLite itself
    libpq-dev # libpq parses the JournalServer connection string
    zlib1g-dev libzint-dev
    dmtx-utils zbar-tools
    libgtest-dev libbenchmark-dev time
    clang libclang-rt-14-dev llvm-14 # fuzzing: libFuzzer and sanitizer runtimes, llvm-symbolizer
    xvfb xauth fonts-dejavu-core
    poppler-utils # the label sheets rendered to images for their decoders
    libqt6svg6 help2man # the window icon (SVG); manual pages made from --help
    dbus-daemon dbus-bin # the list manager's session bus; the tests start a private one
    python3-gi gir1.2-glib-2.0 # the list manager adapter example, run by its test
)
if [ "${BARLINK_EXTRA_PACKAGES:-}" != "" ]; then
    read -r -a extra <<<"$BARLINK_EXTRA_PACKAGES"
    packages+=("${extra[@]}")
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
