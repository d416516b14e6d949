#!/usr/bin/env bash
# Starts the page editor, waits until it serves the session bus, then starts the palette beside
# it. Needs a display and a session bus; scripts/start.sh provides both and builds first.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/bin
"$bin/vendigo-pageeditor" "$@" &
editor=$!

# The palette connects to the editor as it starts, so the editor must own its bus name first.
owned=no
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:FrontPage.Editor 2>/dev/null |
      grep -q 'boolean true'; then
    owned=yes
    break
  fi
  if ! kill -0 "$editor" 2>/dev/null; then break; fi
  sleep 0.1
done
if [[ $owned != yes ]]; then
  echo "launch.sh: the page editor did not come up on the session bus." >&2
  kill "$editor" 2>/dev/null || true
  exit 1
fi

"$bin/vendigo" || true
# The editor stays open for the page after the palette has closed.
wait "$editor"
