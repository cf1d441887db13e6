#!/usr/bin/env bash
# Builds everything and runs the benchmark under Wine; prints one table.
# --quick runs the two smaller sizes only.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/build.sh"
. "$root/scripts/wine-env.sh"
trap stop_wine_and_display EXIT
start_display_if_needed
ensure_prefix "$BUILD_DIR/wineprefix" desktop
"$WINE" "$BUILD_DIR/tests-bin/benchmark.exe" "$@"
