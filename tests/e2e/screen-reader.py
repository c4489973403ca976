# SPDX-FileCopyrightText: 2026 The Tocklet developers
# SPDX-License-Identifier: MIT
"""Reads the running program through the accessibility bus as a screen reader does.

screen-reader.py full|names: with full, finds the three buttons, presses Read by its action and
reads the five rows, goes back with Escape, starts a game with Enter, hangs a weight with the
keys alone and waits to hear GameOver!! with a time, which it prints; with names, checks the
buttons and their English descriptions and presses Exit.

An announcement is heard as Orca hears it: a notification that shows, read at once, with the
text it carries then."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

heard = []


def pump(seconds=0.0):
    deadline = time.monotonic() + seconds
    while True:
        while GLib.MainContext.default().iteration(False):
            pass
        if time.monotonic() >= deadline:
            return
        time.sleep(0.02)


def fail(message):
    print("screen-reader.py: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, condition, seconds=15.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        pump(0.1)
        found = condition()
        if found:
            return found
    fail("no %s within %d s; heard %s" % (what, seconds, heard))


def window():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != "tocklet":
            continue
        for top in app:
            if top is not None and top.name == "Tocklet":
                return top
    return None


def children(parent):
    return [parent.getChildAtIndex(i) for i in range(parent.childCount)]


def buttons(top):
    found = {c.name: c for c in children(top) if c.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    return found if set(found) == {"Start", "Read", "Exit"} else None


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        fail("%s has no Press action but %s" % (button.name, names))
    action.doAction(names.index("Press"))


def keys(*names):
    window_id = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Tocklet$"],
                               capture_output=True, text=True, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window_id], check=True)
    for name in names:
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
        pump(0.03)


def on_showing(event):
    if event.detail1 and event.source.getRole() == pyatspi.ROLE_NOTIFICATION:
        heard.append(event.source.name)


def main():
    top = wait_for("window Tocklet on the accessibility bus", window)
    # Only now: Qt reads the events listened for as it starts, and hears of later listeners
    # only once it shows on the bus; one added in between would never be told.
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    found = wait_for("buttons Start, Read and Exit", lambda: buttons(top))
    if sys.argv[1] == "names":
        if found["Start"].description != "Start a game":
            fail("Start is described as %r" % found["Start"].description)
        press(found["Exit"])
        return

    press(found["Read"])
    lists = wait_for("records", lambda: [c for c in children(top) if c.getRole() == pyatspi.ROLE_LIST])
    rows = [row.name for row in children(lists[0])]
    expected = ["1位：75.3秒、おもり7個"] + ["%d位：空き" % place for place in range(2, 6)]
    if rows != expected:
        fail("the records read %s, not %s" % (rows, expected))
    keys("Escape")
    wait_for("title after the records", lambda: buttons(top))

    keys("Return")
    wait_for("field", lambda: [c for c in children(top) if c.getRole() == pyatspi.ROLE_CANVAS])
    # Anchored at the field's bottom edge, the weight carried above it jumps below on release,
    # off the field, and is lost: the game is over when the grace ends. The gesture is made
    # during a pause, so that however slowly the keys come the grace does not run out first.
    keys("p", *["Down"] * 26, "Return", *["Up"] * 12, "Return", "p")
    over = wait_for("GameOver!! heard", lambda: [text for text in heard if text.startswith("GameOver!!")], 60)
    # The weight lost is told first, once, and GameOver!! once after it.
    lost = [text for text in heard if text.startswith("おもりが")]
    if lost != ["おもりが場外に消えた　残り0個"] or len(over) != 1 or heard.index(lost[0]) > heard.index(over[0]):
        fail("heard %s" % heard)
    print(over[0])
    found = wait_for("buttons after the game", lambda: buttons(top))
    press(found["Exit"])


main()
