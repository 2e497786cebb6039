#!/usr/bin/env bash
# The main job: installs what is needed, builds the program (Release) and
# starts it. Without a display it starts under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

build=${KORVALITH_RUN_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALITH_TESTS=OFF -DKORVALITH_BENCH=OFF
cmake --build "$build" --parallel "$(nproc)" --target korvalith

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/korvalith" "$@"
fi
exec scripts/headless.sh "$build/bin/korvalith" "$@"
