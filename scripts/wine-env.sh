# Shared by the run and test commands and by the ctest emulator: a Wine prefix
# per build folder, made once, with the font substitution that lets the
# "Microsoft YaHei UI" face render Chinese, Japanese and Korean.
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# ensure_prefix PREFIX [desktop]: with "desktop", every program of the
# prefix runs in a Wine virtual desktop, which needs no window manager (bare
# Xvfb makes Wine wait two seconds for each window it hides).
ensure_prefix() {
  local prefix=$1 mode=${2:-}
  mkdir -p "$prefix"
  export WINEPREFIX=$prefix
  (
    flock 9
    if [ ! -f "$prefix/.ready" ]; then
      "$WINE" wineboot -i >/dev/null 2>&1 || true
      local reg="$prefix/fonts.reg"
      local link='hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00'
      # The substitute renders the controls' face; the links give the
      # system faces of the title bar, menu and message boxes a fallback
      # for the CJK characters they lack.
      {
        printf 'REGEDIT4\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
        printf '"Microsoft YaHei UI"="WenQuanYi Micro Hei"\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
        local face
        for face in "Tahoma" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
          printf '"%s"=%s\r\n' "$face" "$link"
        done
      } > "$reg"
      "$WINE" regedit /S "$reg" >/dev/null 2>&1
      # The caption buttons need the Marlett face of fonts-wine, copied to
      # where this Wine build looks for fonts.
      cp -n /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
      # WINE_DPI=144 makes a prefix whose screen is at 150 %.
      if [ -n "${WINE_DPI:-}" ]; then
        "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$WINE_DPI" /f >/dev/null 2>&1
        "$WINE" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
          /v LogPixels /t REG_DWORD /d "$WINE_DPI" /f >/dev/null 2>&1
      fi
      if [ "$mode" = desktop ]; then
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
      fi
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

# What every command that runs Windows programs needs: a display, the
# prefix (arguments as for ensure_prefix), and clean-up when it ends.
begin_wine_session() {
  trap stop_wine_and_display EXIT
  start_display_if_needed
  ensure_prefix "$@"
}
