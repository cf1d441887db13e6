#!/usr/bin/env bash
# ctest's emulator: wine-run.sh PREFIX PROGRAM ARGS...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"
prefix=$1; shift
ensure_prefix "$prefix" desktop
status=0
"$WINE" "$@" || status=$?
# Whatever the program left behind in the prefix (a file manager showing a
# result folder, say) would keep ctest waiting on its output pipe.
"$WINESERVER" -k >/dev/null 2>&1 || true
exit $status
