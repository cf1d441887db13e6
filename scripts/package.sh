#!/usr/bin/env bash
# Builds everything and makes the release packages in build/packages: the
# front-end with its user guide, and the demo stand-in engine on its own.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/build.sh"
cd "$BUILD_DIR" && rm -rf packages && cpack -C Release
ls -l "$BUILD_DIR/packages"/*.zip
