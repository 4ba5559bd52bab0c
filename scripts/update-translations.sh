#!/usr/bin/env bash
# Brings translations/*.ts up to date with the texts in src/: new texts come in unfinished,
# texts no longer in the program are dropped. Translate the unfinished ones (Qt Linguist, or by
# hand: fill in <translation> and remove type="unfinished"), then run scripts/check-translations.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${LUPDATE:-$(command -v lupdate 2>/dev/null || echo /usr/lib/qt6/bin/lupdate)}"
cd "$root"
"$lupdate" -locations relative -no-obsolete -extensions cpp,h,ui -I src src -ts translations/barlink_de.ts translations/barlink_it.ts
