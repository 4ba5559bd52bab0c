#!/usr/bin/env bash
# Fails when a text of the program has no German or Italian translation: runs lupdate over src/
# into copies of translations/*.ts and counts what it leaves unfinished (new or untranslated).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${LUPDATE:-$(command -v lupdate 2>/dev/null || echo /usr/lib/qt6/bin/lupdate)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for language in de it; do
    cp "$root/translations/barlink_$language.ts" "$work/"
    (cd "$root" && "$lupdate" -silent -locations none -no-obsolete -extensions cpp,h,ui -I src src \
        -ts "$work/barlink_$language.ts")
    # Each unfinished message: its source text, for the report.
    missing="$(python3 - "$work/barlink_$language.ts" <<'PY'
import sys, xml.etree.ElementTree as ET
for context in ET.parse(sys.argv[1]).getroot().iter('context'):
    name = context.findtext('name')
    for message in context.iter('message'):
        translation = message.find('translation')
        kind = translation.get('type') if translation is not None else 'unfinished'
        if kind == 'unfinished' or not (translation.text or translation.findall('numerusform')):
            print(f"{name}: {message.findtext('source')!r}")
PY
)"
    if [ -n "$missing" ]; then
        echo "untranslated in $language ($(printf '%s\n' "$missing" | wc -l)):"
        printf '%s\n' "$missing"
        status=1
    fi
done
[ $status -eq 0 ] && echo "every text translated in de and it"
exit $status
