#!/bin/sh
# Runs a program under a window manager (openbox) on the X server of DISPLAY, as on a merchant's
# desktop: "xvfb-run -a sh with_window_manager.sh PROGRAM ARGS...".
openbox --sm-disable >/dev/null 2>&1 &
manager=$!
"$@"
status=$?
kill "$manager"
exit "$status"
