#!/usr/bin/env bash
# Builds everything and makes the release packages in build/packages: the
# per-user MSI, the front-end with its user guide as a portable ZIP, and the
# demo stand-in engine on its own.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/build.sh"
cd "$BUILD_DIR" && rm -rf packages && cpack -C Release
# The build made the MSI (wixl); the one in msi/upgrade-test is for the tests.
cp msi/*.msi packages/
ls -l packages/*.zip packages/*.msi
