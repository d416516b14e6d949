#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vendigo: the page editor with the palette beside
# it. Files named on the command line open in the editor.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "start.sh: there is no display to show the windows on (DISPLAY is not set)." >&2
  echo "Run it on a virtual X server instead:  xvfb-run -a scripts/start.sh" >&2
  exit 1
fi

# The palette reaches the editor over the session bus; start one when the desktop has none.
if [[ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]]; then
  exec dbus-run-session -- scripts/launch.sh "$@"
fi
exec scripts/launch.sh "$@"
