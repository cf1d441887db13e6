#!/usr/bin/env bash
# Screenshots of the main window during a demo run and of the settings
# dialog (opened from the menu, which works during a run), in each language
# at 96 DPI and at 144 DPI (150 %), into docs/screenshots (run after a build).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$root/build}
. "$root/scripts/wine-env.sh"
out="$root/docs/screenshots"
mkdir -p "$out"
trap stop_wine_and_display EXIT
start_display_if_needed
tools="$BUILD_DIR/tests-bin"
for dpi in 96 144; do
  if [ "$dpi" = 96 ]; then prefix="$BUILD_DIR/wineprefix-shots"; size=760x640; suffix=""
  else prefix="$BUILD_DIR/wineprefix-shots-144dpi"; size=1140x960; suffix="-144dpi"; fi
  # Programs of the prefix share one virtual desktop, which draws the frame.
  WINE_DPI=$dpi ensure_prefix "$prefix" desktop
  for lang in ${LANGS:-zh en ja ko de fr}; do
    place="$BUILD_DIR/shots/$lang"
    rm -rf "$place" && mkdir -p "$place"
    cp "$BUILD_DIR/bin/zozediv_uzuvurodaz_ered.exe" "$BUILD_DIR/bin/vuruzuz_odurevazu.exe" "$place/"
    printf 'RIFF' > "$place/meeting.wav"
    cat > "$place/aliyun_config.json" <<JSON
{"access_key_id": "demo-key-id", "access_key_secret": "demo-key-secret", "appkey": "demo-appkey",
 "oss_bucket": "demo-bucket", "region": "cn-shanghai", "ui_lang": "$lang"}
JSON
    # Mid-run: the engine's lines arriving, the inputs disabled.
    (cd "$place" && STANDIN_DELAY_MS=700 "$WINE" zozediv_uzuvurodaz_ered.exe \
       --autostart "Z:$(echo "$place/meeting.wav" | tr / '\\')" >/dev/null 2>&1 &)
    "$WINE" "$tools/wait_for_run.exe" >/dev/null 2>&1 || true
    sleep 1.5 # a few of the engine's lines
    import -window root -crop $size+0+0 "$out/main-$lang$suffix.png"
    "$WINE" "$tools/post_command.exe" 1005 >/dev/null 2>&1 || true
    sleep 2
    import -window root -crop $size+0+0 "$out/settings-$lang$suffix.png"
    "$WINESERVER" -k 2>/dev/null || true
    sleep 1
    case "$lang" in zh|en) ;; *) continue ;; esac
    # A running queue: one done, one failed, one running, two waiting.
    rm -f "$place/queue.json"
    mkdir -p "$place/talks/week 2"
    printf 'RIFF' > "$place/talks/week 2/01 interview.wav"
    printf 'standin:text:ERROR: the recording has no audio track;exit:3' > "$place/talks/week 2/02 panel.wav"
    printf 'standin:text:[1/4] Converting (skipped by the stand-in);hang' > "$place/talks/week 2/03 meeting.mp3"
    printf 'RIFF' > "$place/talks/week 2/10 closing.m4a"
    printf 'RIFF' > "$place/talks/week 2/04 q&a.wav"
    (cd "$place" && STANDIN_DELAY_MS=100 "$WINE" zozediv_uzuvurodaz_ered.exe \
       --autostart "Z:$(echo "$place/talks" | tr / '\\')" >/dev/null 2>&1 &)
    "$WINE" "$tools/wait_for_run.exe" >/dev/null 2>&1 || true
    sleep 4 # the first two items end, the third runs
    import -window root -crop $size+0+0 "$out/queue-$lang$suffix.png"
    "$WINESERVER" -k 2>/dev/null || true
    sleep 1
  done
done
echo "Screenshots in $out"
