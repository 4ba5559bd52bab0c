#!/usr/bin/env bash
# Installs what is missing, builds Barlink and runs the whole test suite with CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --workflow --preset debug
