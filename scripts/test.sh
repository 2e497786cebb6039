#!/usr/bin/env bash
# The test command: installs what is needed, builds with warnings as errors,
# and runs the whole suite under a virtual X display with Mesa's software
# OpenGL. Exits with ctest's status.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

build=${KORVALITH_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVALITH_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"

export QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER=llvmpipe
export QT_LOGGING_RULES="qt.multimedia*=false"
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300 || status=$?
exit $status
