#!/usr/bin/env bash
# Builds everything and runs the benchmark under Wine; prints one table.
# --quick runs the two smaller sizes only.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/build.sh"
. "$root/scripts/wine-env.sh"
begin_wine_session "$BUILD_DIR/wineprefix" desktop
"$WINE" "$BUILD_DIR/tests-bin/benchmark.exe" "$@"
