# The palette started as PREFIX's menu entry says, on a bus that knows only PREFIX's activation file,
# has the bus start PREFIX's editor and keeps running; a second start raises it and ends.
entry=$1/share/applications/org.vendigo.Vendigo.desktop
[ -x "$(sed -n 's/^TryExec=//p' "$entry")" ] && eval "$(sed -n 's/^Exec=//p' "$entry") &" || exit 1
palette=$!
for _ in $(seq 300); do
  editor=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:FrontPage.Editor 2>/dev/null) && break
  sleep 0.1
done
timeout 30 "$1/bin/vendigo" && dbus-send --session --print-reply --dest=org.vendigo.Palette \
  /Palette org.vendigo.Palette.Raise string: >/dev/null || second="; a second start stayed"
started=$(readlink "/proc/${editor##* }/exe") && kill "${editor##* }"
kill "$palette" && [ "$started" = "$1/bin/vendigo-pageeditor" ] && [ -z "$second" ] ||
  { echo "the palette in $1 started '$started'$second"; exit 1; }
