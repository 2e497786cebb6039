#!/usr/bin/env bash
# Runs a command on a virtual X display with a window manager, as on a
# desktop: windows get frames and can be maximised and minimised.
#   scripts/headless.sh COMMAND [ARGS...]
# With KORVALITH_SCREENSHOT=file.png and KORVALITH_SCREENSHOT_DELAY=seconds,
# takes a picture of the screen after the delay and ends the command.
set -euo pipefail
if [ -z "${KORVALITH_INSIDE_XVFB:-}" ]; then
  export KORVALITH_INSIDE_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi
export QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
sleep 0.5
if [ -z "${KORVALITH_SCREENSHOT:-}" ]; then
  "$@"
  exit $?
fi
"$@" &
app=$!
sleep "${KORVALITH_SCREENSHOT_DELAY:-3}"
xwininfo -root -tree | grep -E '"[^"]+": \(' | grep -v 'openbox' || true
import -window root "$KORVALITH_SCREENSHOT"
kill $app 2>/dev/null || true
wait $app 2>/dev/null || true
