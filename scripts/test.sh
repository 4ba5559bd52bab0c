#!/usr/bin/env bash
# Installs what is missing, builds Barlink and runs the whole test suite with CTest; then the
# suite again under AddressSanitizer + UndefinedBehaviorSanitizer (preset `asan`) and every
# fuzzing harness for a short time (scripts/fuzz.sh).
#   BARLINK_TEST_QUICK=1       the plain suite only
#   BARLINK_FUZZ_SECONDS=N     seconds per fuzzing harness (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

times=()
stage() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    times+=("$(printf '%-6s %4ds' "$name" $((SECONDS - start)))")
}

stage debug cmake --workflow --preset debug
if [ "${BARLINK_TEST_QUICK:-0}" != 1 ]; then
    stage asan cmake --workflow --preset asan
    stage fuzz scripts/fuzz.sh "${BARLINK_FUZZ_SECONDS:-20}"
fi

echo
echo "Wall time per stage:"
printf '  %s\n' "${times[@]}"
