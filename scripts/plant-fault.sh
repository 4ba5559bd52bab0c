#!/usr/bin/env bash
# Plants one fault, builds the test targets, runs the tests, and puts the source back.
# usage: scripts/plant-fault.sh FILE PERL-SUBSTITUTION 'TARGETS' TEST-REGEX
# FILE is relative to the repository holding this script; its build is build/debug.
# Prints the tests that ran, each "Passed" or "***Failed" (a failure catches the fault).
# The list of faults planted for the test suite's cuts: scripts/planted-faults.txt
# (id|file|substitution|targets|regex), run with:
#   while IFS='|' read -r id f s t r; do echo "$id $(scripts/plant-fault.sh "$f" "$s" "$t" "$r")"; done < scripts/planted-faults.txt
set -u
cd "$(dirname "$0")/.."
file=$1 subst=$2 targets=$3 regex=$4
backup=$(mktemp)
cp "$file" "$backup"
restore() { cp "$backup" "$file"; touch "$file"; rm -f "$backup"; }
trap restore EXIT
perl -0pi -e "$subst" "$file"
if cmp -s "$file" "$backup"; then echo "NOT APPLIED"; exit 1; fi
# shellcheck disable=SC2086
if ! cmake --build build/debug -j2 --target $targets >/tmp/plant-fault.build 2>&1; then
    echo "BUILD FAILED (see /tmp/plant-fault.build)"
    exit 1
fi
ctest --test-dir build/debug -R "$regex" 2>&1 | grep -E 'Test +#' \
    | sed -E 's/ +Test +#[0-9]+: //; s/ \.+/ /; s/ +[0-9.]+ sec//' | tr -s ' ' | tr '\n' ';'
echo
