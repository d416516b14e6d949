# Run on a private session bus whose only activation file is PREFIX's: starts the palette installed
# in PREFIX, which finds no editor and has the bus start one, and checks that the editor that took
# the name is the one installed in PREFIX and that the palette still runs. Ends both.
prefix=$1
"$prefix/bin/vendigo" &
palette=$!
for _ in $(seq 300); do
  editor=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:FrontPage.Editor 2>/dev/null) && break
  sleep 0.1
done
editor=${editor##* }
started=$(readlink "/proc/$editor/exe")
[ -n "$editor" ] && kill "$editor"
kill "$palette" || { echo "the palette in $prefix ended at its start"; exit 1; }
wait "$palette"
[ "$started" = "$prefix/bin/vendigo-pageeditor" ] && exit 0
echo "the palette in $prefix started '$started', not the editor installed beside it"
exit 1
