#!/usr/bin/env bash
# Starts the page editor, waits until it serves the session bus, then starts the palette beside
# it. Needs a display and a session bus; scripts/start.sh provides both and builds first.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/bin
"$bin/vendigo-pageeditor" "$@" &
editor=$!

# The palette connects to the editor as it starts, so the editor must own its bus name first.
if ! scripts/wait-for-editor.sh "$editor"; then
  kill "$editor" 2>/dev/null || true
  exit 1
fi

"$bin/vendigo" || true
# The editor stays open for the page after the palette has closed.
wait "$editor"
