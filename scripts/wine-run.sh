#!/usr/bin/env bash
# ctest's emulator: wine-run.sh PREFIX PROGRAM ARGS...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"
prefix=$1; shift
ensure_prefix "$prefix" desktop
exec "$WINE" "$@"
