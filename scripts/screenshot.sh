#!/usr/bin/env bash
# Makes docs/screenshot.png from the real programs: the page editor with docs/sample-page.html
# and the palette beside it, on a virtual X server with a session bus and folders of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

# The palette centres itself on the screen, so the screen is wide enough for the editor to stand
# to its left; the picture is cut off right of the palette.
width=1820
height=760
editor_width=700

if [[ "${1:-}" != --on-virtual-display ]]; then
  scripts/install-deps.sh
  if ! command -v import >/dev/null; then
    as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    "${as_root[@]}" apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y imagemagick
  fi
  scripts/build.sh
  exec xvfb-run -a -s "-screen 0 ${width}x${height}x24" \
    dbus-run-session -- "$0" --on-virtual-display
fi

# Neither the user's menu registrations nor the editor's activation file are touched.
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data

build/bin/vendigo-pageeditor -qwindowgeometry "${editor_width}x${height}+0+0" \
  docs/sample-page.html &
scripts/wait-for-editor.sh $!
build/bin/vendigo &
sleep 3

palette_right=$(((width + 397) / 2 + 12))
import -window root -crop "${palette_right}x${height}+0+0" +repage docs/screenshot.png
echo "screenshot.sh: wrote docs/screenshot.png"
