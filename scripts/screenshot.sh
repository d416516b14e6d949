#!/usr/bin/env bash
# Makes docs/screenshot.png from the real programs: a product page built by vendigo-html from the
# shipped single-product template, open in the page editor with its controls rendered, and the
# palette beside it, on a virtual X server with a session bus and folders of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

# The palette centres itself on the screen, so the screen is wide enough for the editor to stand
# to its left; the picture is cut off right of the palette.
width=2440
height=700
editor_width=1000

if [[ "${1:-}" != --on-virtual-display ]]; then
  scripts/install-deps.sh imagemagick
  scripts/build.sh
  exec xvfb-run -a -s "-screen 0 ${width}x${height}x24" \
    dbus-run-session -- "$0" --on-virtual-display
fi

# Neither the user's menu registrations, nor the editor's activation file, nor its recovery copies
# are touched.
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_STATE_HOME=$scratch/state

# The page as the wizard makes it: a picture, two option lists, the quantity box and the order
# button of the shop's settings.
convert -size 200x160 radial-gradient:'#9cc3ec'-'#245ca0' "$scratch/blue-mug.png"
printf '[CONFIGS]\nCompany=Harbour Mugs\nCurrency=$\nCGI_BIN=/cgi-bin/pellux.cgi\nOrderButton=Add to Cart\n' \
  >"$scratch/shop.ini"
cat >"$scratch/blue-mug.json" <<EOF
{
  "Description": "Blue Stoneware Mug", "Price": "12.50", "Weight": "1",
  "Options": [
    {"Name": "Size", "Rows": [["Small", "0", "0", "Small"],
                              ["Large", "2", "0", "Large -- Add \$2.00"]]},
    {"Name": "Glaze", "Rows": [["Gloss", "0", "0", "Gloss"], ["Matt", "0", "0", "Matt"]]}
  ],
  "LongText": "Thrown and glazed by hand in our harbour workshop.\nDishwasher safe.",
  "ProductImage": "$scratch/blue-mug.png"
}
EOF
build/bin/vendigo-html --settings "$scratch/shop.ini" page \
  --template build/bin/single_product.zft --input "$scratch/blue-mug.json" >"$scratch/blue-mug.html"

build/bin/vendigo-pageeditor -qwindowgeometry "${editor_width}x${height}+0+0" \
  "$scratch/blue-mug.html" &
scripts/wait-for-editor.sh $!
build/bin/vendigo &
# The browser engine starts once the editor's window is up, then renders the page.
sleep 8

palette_right=$(((width + 397) / 2 + 12))
import -window root -crop "${palette_right}x${height}+0+0" +repage docs/screenshot.png
echo "screenshot.sh: wrote docs/screenshot.png"
