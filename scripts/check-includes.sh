#!/usr/bin/env bash
# Checks that dependencies point down only: which folder of src/ may include which, and that no
# widget header is included outside the files that belong to a UI target.
#
#   scripts/check-includes.sh [SRC_DIR] [QT_WIDGETS_HEADERS_DIR]
#
# SRC_DIR defaults to the src/ folder beside this script. QT_WIDGETS_HEADERS_DIR is Qt's
# QtWidgets include folder; a <QFoo> include is a widget header when that folder holds a QFoo.
# Prints one line per offending include ("file:line: what: the include") and exits 1 when there
# is any; exits 2 when it cannot run.
set -u

src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
widgets=${2:-}
if [[ -z $widgets ]]; then
    for d in /usr/include/x86_64-linux-gnu/qt6/QtWidgets /usr/include/qt6/QtWidgets \
             /usr/include/aarch64-linux-gnu/qt6/QtWidgets; do
        [[ -d $d ]] && widgets=$d && break
    done
fi
if [[ ! -d $src || ! -d $widgets ]]; then
    echo "check-includes: need the src folder and Qt's QtWidgets include folder" >&2
    exit 2
fi

# What each folder may include besides itself: folders, or single files (text/ takes the
# error type and the reasons' words alone). A folder missing here may include nothing of ours. journal/ui is the
# journal's window, a target of its own above the journal.
declare -A allowed=(
    [base]=""
    [ui]=""
    [text]="base/Error.h base/Reasons.h"
    [settings]="base text"
    [scanner]="base text"
    [listmanager]="base"
    [journal]="base"
    [journal/ui]="base journal ui"
    [embeddedlist]="base listmanager ui"
    [exclusion]="base settings text ui"
    [fieldsel]="base settings text ui"
    [testconsole]="base listmanager text ui"
    [program]="base text settings scanner listmanager"
    [label]="base text settings scanner listmanager program fieldsel"
    [app]="base text settings scanner listmanager program fieldsel label journal journal/ui
           embeddedlist exclusion testconsole ui"
)

cd "$src" || exit 2
# One pass over every include line: "file:line:text", the file relative to src/.
find . -type f \( -name '*.h' -o -name '*.cpp' \) -print | sed 's|^\./||' | sort |
    xargs grep -nE '^[[:space:]]*#[[:space:]]*include' /dev/null |
    awk -v widgets="$(ls "$widgets" | tr '\n' ' ')" -v ours="$(ls -d */ | tr -d / | tr '\n' ' ')" \
        -v rules="$(for k in "${!allowed[@]}"; do echo "$k=${allowed[$k]}" | tr '\n' ' '; echo; done)" '
    BEGIN {
        n = split(widgets, w, " ")
        for (i = 1; i <= n; ++i) isWidget[w[i]] = 1
        n = split(ours, o, " ")
        for (i = 1; i <= n; ++i) isOurs[o[i]] = 1
        m = split(rules, r, "\n")
        for (i = 1; i <= m; ++i) {
            if (r[i] == "") continue
            eq = index(r[i], "=")
            key = substr(r[i], 1, eq - 1)
            k = split(substr(r[i], eq + 1), parts, " ")
            for (j = 1; j <= k; ++j) may[key, parts[j]] = 1
        }
        bad = 0
    }
    # The folder a path under src/ belongs to: journal/ui before journal, else its first part.
    function folderOf(path) {
        if (path ~ /^journal\/ui\//) return "journal/ui"
        if (index(path, "/") == 0) return ""
        return substr(path, 1, index(path, "/") - 1)
    }
    # A file belongs to a UI target when it is a window, a dialog, a widget or a window'"'"'s panel,
    # when it sits in a UI folder, or when it is one of the program'"'"'s own files around the
    # windows.
    function isUiFile(path) {
        if (path ~ /^(ui|journal\/ui)\//) return 1
        if (path ~ /(Window|Dialog|Widget|Panel)[A-Za-z]*\.(h|cpp)$/) return 1
        if (path ~ /^app\/(main\.cpp|StationShell\.|GuardedApplication\.)/) return 1
        return 0
    }
    function report(msg) { print msg; ++bad }
    {
        c1 = index($0, ":"); file = substr($0, 1, c1 - 1); rest = substr($0, c1 + 1)
        c2 = index(rest, ":"); line = substr(rest, 1, c2 - 1); text = substr(rest, c2 + 1)
        from = folderOf(file)
        if (from == "") next
        where = "src/" file ":" line ": "
        if (match(text, /"[^"]+"/)) {
            inc = substr(text, RSTART + 1, RLENGTH - 2)
            if (inc ~ /^ui_.*\.h$/) {
                if (!isUiFile(file)) report(where "a form outside the user interface: " text)
                next
            }
            to = folderOf(inc)
            if (to == "" || !(substr(inc, 1, index(inc, "/") - 1) in isOurs))
                next # beside the including file, or not ours
            if (to == from || may[from, to] || may[from, inc]) next
            report(where from "/ may not include " to "/: " text)
        } else if (match(text, /<(QtWidgets\/)?[A-Za-z0-9_]+>/)) {
            name = substr(text, RSTART + 1, RLENGTH - 2)
            qualified = sub(/^QtWidgets\//, "", name)
            if ((qualified || (name in isWidget)) && !isUiFile(file))
                report(where "a widget header outside the user interface: " text)
        }
    }
    END {
        if (bad) {
            printf "check-includes: %d include(s) break the dependency rules\n", bad > "/dev/stderr"
            exit 1
        }
        print "check-includes: dependencies point down"
    }'
