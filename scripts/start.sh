#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vendigo.
#
# The palette and the page editor are not built yet; until they are, this shows what the
# command-line generator makes from the settings in build/bin/pelluxfp.ini.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

html=build/bin/vendigo-html
"$html" --help
for command in form quantity viewcart buybutton ebay; do
  printf '\n%s:\n' "$command"
  "$html" "$command"
  printf '\n'
done
