#!/usr/bin/env bash
# End to end: the gallery's menus page in a real X window (Xvfb), driven by real pointer and key events. Items
# chosen from the window's menu bar, from the popup menu opened by the right button, and from the keyboard
# in the popup a button opens must each print their "clicked:" line.
#
# usage: gallery-menus.sh KIVGALLERY
# Run it under xvfb-run (the test registration does).
set -euo pipefail

gallery=$1
work=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; } || true; rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The gallery's standard output comes through a FIFO, read line by line as it is written.
mkfifo "$work/out"
export QT_QPA_PLATFORM=xcb
"$gallery" --page menus >"$work/out" &
pid=$!
exec 5<"$work/out"

# Waits up to 20 s for the gallery's next line and checks it is $1.
expect_line() {
  local line=
  IFS= read -r -t 20 -u 5 line || fail "no line from the gallery, expected '$1'"
  [ "$line" = "$1" ] || fail "the gallery said '$line', expected '$1'"
}

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kivrona gallery$' | head -1) ||
  fail "no gallery window"

# The window has no frame of the desktop's under Xvfb: its menu bar is its top 19 rows.
xdotool mousemove --window "$window" 15 9 click 1        # "File" on the menu bar
xdotool mousemove --window "$window" 40 30 click 1       # its first item
expect_line "clicked: New"

xdotool mousemove --window "$window" 500 400 click 3     # the page's popup menu at the pointer
xdotool mousemove --window "$window" 540 410 click 1     # its first item
expect_line "clicked: Open"

xdotool mousemove --window "$window" 250 95 click 1      # the "Show popup menu" button
xdotool key Down Down Return                             # the popup's second item
expect_line "clicked: Cut"

# The keyboard on the bar, while the button just pressed has the focus.
xdotool key alt+v                                        # "View" on the menu bar
xdotool key l                                            # its "Large" item
expect_line "clicked: Large"

xdotool key F10 Down Return                              # the bar, "File" opened at its first item
expect_line "clicked: New"
