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
# A Wine process can outlive its server (seen once: a console host started
# as the server went), and it holds ctest's output pipe for ever: whatever
# Wine process of this prefix is left goes too.
for environ in /proc/[0-9]*/environ; do
  pid=${environ#/proc/}; pid=${pid%/environ}
  case $(readlink "/proc/$pid/exe" 2>/dev/null) in
    /usr/lib/wine/*)
      if grep -qzxF "WINEPREFIX=$prefix" "$environ" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
      fi ;;
  esac
done
exit $status
