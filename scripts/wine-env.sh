# Shared by the run and test commands and by the ctest emulator: a Wine prefix
# per build folder, made once, with the font substitution that lets the
# "Microsoft YaHei UI" face render Chinese, Japanese and Korean.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

ensure_prefix() {
  local prefix=$1
  mkdir -p "$prefix"
  export WINEPREFIX=$prefix
  (
    flock 9
    if [ ! -f "$prefix/.ready" ]; then
      "$WINE" wineboot -i >/dev/null 2>&1 || true
      local reg="$prefix/fonts.reg"
      printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"Microsoft YaHei UI"="WenQuanYi Micro Hei"\r\n' > "$reg"
      "$WINE" regedit /S "$reg" >/dev/null 2>&1
      "$WINESERVER" -w
      touch "$prefix/.ready"
    fi
  ) 9>"$prefix.lock"
}

# Starts one Xvfb when there is no display; stop_display ends it.
XVFB_PID=
start_display_if_needed() {
  if [ -z "${DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
  fi
}

stop_wine_and_display() {
  if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; XVFB_PID=; fi
}
