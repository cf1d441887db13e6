#!/usr/bin/env bash
# Builds the release packages and checks what each one holds.
set -euo pipefail
build=$1
cd "$build"
rm -rf packages
cpack -C Release >/dev/null
front=$(ls packages/*-win64.zip)
demo=$(ls packages/*-win64-DEMO-stand-in-engine.zip)
list() { cmake -E tar tf "$1" | sed 's|^[^/]*/||' | grep -v '/$' | grep -v '^$' | sort; }
expect() {
  local got; got=$(list "$1" | tr '\n' ' ')
  if [ "$got" != "$2" ]; then echo "$1 holds: $got; expected: $2"; exit 1; fi
}
expect "$front" "user-guide.txt zozediv_uzuvurodaz_ered.exe "
expect "$demo" "stand-in-engine.txt vuruzuz_odurevazu.exe "
# The released program carries no symbols.
if command -v x86_64-w64-mingw32-nm >/dev/null \
  && ! x86_64-w64-mingw32-nm bin/zozediv_uzuvurodaz_ered.exe 2>&1 | grep -q "no symbols"; then
  echo "bin/zozediv_uzuvurodaz_ered.exe still has its symbols"; exit 1
fi
# The front-end needs no runtime DLL beside it.
objdump=x86_64-w64-mingw32-objdump
if command -v $objdump >/dev/null; then
  dlls=$($objdump -p bin/zozediv_uzuvurodaz_ered.exe | awk '/DLL Name/ {print tolower($3)}' | sort | tr '\n' ' ')
  case "$dlls" in *libstdc++*|*libgcc*|*libwinpthread*) echo "needs mingw DLLs: $dlls"; exit 1 ;; esac
fi
