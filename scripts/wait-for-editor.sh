#!/usr/bin/env bash
# Waits up to ten seconds until the page editor owns FrontPage.Editor on the session bus.
# Exits 1 when it does not, or at once when the editor's process (the first argument, if given)
# has ended.
set -uo pipefail

editor=${1:-}
for _ in $(seq 100); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:FrontPage.Editor 2>/dev/null |
      grep -q 'boolean true'; then
    exit 0
  fi
  if [[ -n $editor ]] && ! kill -0 "$editor" 2>/dev/null; then break; fi
  sleep 0.1
done
echo "wait-for-editor.sh: the page editor did not come up on the session bus." >&2
exit 1
