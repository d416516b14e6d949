#!/usr/bin/env bash
# Makes docs/cart-basket.png from the real programs: vendigo-cart takes the order that the
# single-product page's form sends (a Large mug, two of them, with its glaze), and the basket
# page it answers with is shown in the page editor's browser view, on a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."

width=1800
height=560

if [[ "${1:-}" != --on-virtual-display ]]; then
  scripts/install-deps.sh imagemagick curl
  scripts/build.sh
  exec xvfb-run -a -s "-screen 0 ${width}x${height}x24" \
    dbus-run-session -- "$0" --on-virtual-display
fi

scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_STATE_HOME=$scratch/state
port=8766

build/bin/vendigo-cart --port "$port" &
sleep 1
# The fields the page's form posts when the shopper picks Large and Matt and types 2.
cart=http://127.0.0.1:$port/cgi-bin/pellux.cgi
curl -s -o /dev/null --data-urlencode 'pelluxadd=Blue Stoneware Mug^12.50^1^^' \
  --data-urlencode 'eop_Size=Large^2^0' --data-urlencode 'eop_Glaze=Matt^0^0' \
  --data-urlencode 'quantity=2' "$cart"
curl -s -o /dev/null "$cart?pelluxadd=Harbour+Coaster^3.75^0^1^"
curl -s "http://127.0.0.1:$port/basket" >"$scratch/basket.html"

build/bin/vendigo-pageeditor -qwindowgeometry "${width}x${height}+0+0" "$scratch/basket.html" &
scripts/wait-for-editor.sh $!
sleep 8
import -window root -crop "${width}x${height}+0+0" +repage docs/cart-basket.png
