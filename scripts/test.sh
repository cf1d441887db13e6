#!/usr/bin/env bash
# Builds everything and runs every test under Wine (with one Xvfb when there
# is no display). Leaves nothing running.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/build.sh"
. "$root/scripts/wine-env.sh"
begin_wine_session "$BUILD_DIR/wineprefix" desktop
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 900 "$@"
