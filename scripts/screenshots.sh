#!/usr/bin/env bash
# Screenshots of the main window during a demo run and of the settings
# dialog (opened from the menu, which works during a run), in each language, into docs/screenshots (run after a build).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$root/build}
. "$root/scripts/wine-env.sh"
out="$root/docs/screenshots"
mkdir -p "$out"
begin_wine_session "$BUILD_DIR/wineprefix-run"
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
  (cd "$place" && STANDIN_DELAY_MS=700 "$WINE" explorer /desktop=shot,760x640 zozediv_uzuvurodaz_ered.exe \
     --autostart "Z:$(echo "$place/meeting.wav" | tr / '\\')" >/dev/null 2>&1 &)
  sleep 4
  import -window root -crop 760x640+0+0 "$out/main-$lang.png"
  "$WINE" explorer /desktop=shot,760x640 "$BUILD_DIR/tests-bin/post_command.exe" 1005 >/dev/null 2>&1 || true
  sleep 2
  import -window root -crop 760x640+0+0 "$out/settings-$lang.png"
  "$WINESERVER" -k 2>/dev/null || true
  sleep 1
done
echo "Screenshots in $out"
