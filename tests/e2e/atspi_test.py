"""The program as AT-SPI shows it to a screen reader: roles, names, access keys,
a press through the Action interface, the result through the Text interface,
and the text-changed event that announces it."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi, GLib

# Roles by their numbers, which AT-SPI keeps, not by their names, which change
# (a button is "push button" to some versions and "button" to others).
BUTTON = getattr(Atspi.Role, "BUTTON", None) or Atspi.Role.PUSH_BUTTON
IMAGE, TEXT, FRAME = Atspi.Role.IMAGE, Atspi.Role.TEXT, Atspi.Role.FRAME
NOTIFICATION = Atspi.Role.NOTIFICATION
# Where Qt has an announcement event (6.8 on), the window needs no child for it.
qt = tuple(int(n) for n in os.environ.get("VELMAR_QT_VERSION", "0.0").split(".")[:2])

passes = failures = 0
# Waits end when what they wait for comes; only a hung start or a fault
# reaches this bound (the shell tests' one, tests/lib/check.sh).
BOUND = int(os.environ.get("VELMAR_WAIT_BOUND", "180"))


def check(name, expected, actual):
    global passes, failures
    if expected == actual:
        passes += 1
    else:
        failures += 1
        print(f"FAIL {name}\n--- expected\n{expected!r}\n--- actual\n{actual!r}")


def find_application(name):
    deadline = time.monotonic() + BOUND
    while time.monotonic() < deadline and program.poll() is None:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.05)
    return None


env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
env.pop("QT_QPA_PLATFORM", None)
env.pop("QT_SCALE_FACTOR", None)
program = subprocess.Popen([sys.argv[1]], env=env)
try:
    app = find_application("integration-velmar")
    if app is None:
        print("FAIL the program never showed up on the AT-SPI desktop")
        sys.exit(1)
    window = app[0]
    check("one top-level window", 1, app.childCount)
    check("the window is a frame", FRAME, window.getRole())
    check("the window's name", "Integration Velmar", window.name)

    # Role, name and access key of each control, in tab order.
    expected = [
        (IMAGE, "Graph", ""),
        (BUTTON, "1 Trapezoid", "Alt+1"),
        (BUTTON, "2 Trapezoids", "Alt+2"),
        (BUTTON, "Calculate", "Alt+C"),
        (BUTTON, "Clear", "Alt+R"),
        (BUTTON, "Exit", "Alt+X"),
        (TEXT, "Result", ""),
        (BUTTON, "10 Trapezoids", "Alt+0"),
    ]
    controls = {}
    seen = []
    notifications = 0
    for child in window:
        if child.getRole() == NOTIFICATION:
            notifications += 1  # the announcer: no control
            continue
        action = child.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        key = action.getKeyBinding(names.index("Press")) if "Press" in names else ""
        seen.append((child.getRole(), child.name, key))
        controls[child.name] = child
        check(f"{child.name} has a description", True, bool(child.description))
    check("the controls", expected, seen)
    check("a notification child only where Qt has no announcement event",
          0 if qt >= (6, 8) else 1, notifications)
    check("the canvas says what it shows", True,
          "sine curve" in controls["Graph"].description)

    # Press "10 Trapezoids" as a screen reader user would, and listen.
    events = []

    def on_text_changed(event):
        if event.source.name == "Result" and event.type.endswith("insert"):
            events.append(event.any_data.replace("\u2029", "\n"))

    def press():
        action = controls["10 Trapezoids"].queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
        return False

    def stop_when_announced():
        if events and events[-1].startswith("Integral") and "dx=" in events[-1]:
            pyatspi.Registry.stop()
            return False
        return True

    pyatspi.Registry.registerEventListener(on_text_changed, "object:text-changed")
    GLib.idle_add(press)
    GLib.timeout_add(50, stop_when_announced)
    GLib.timeout_add(BOUND * 1000, pyatspi.Registry.stop)
    pyatspi.Registry.start()

    result = "Integral Sin(x) [0,pi]= 1.98352353750514\ndx= .3141592654"
    check("the new result is announced", result, events[-1] if events else None)
    check("the result through the Text interface", result,
          controls["Result"].queryText().getText(0, -1))
    check("the canvas tells of the new trapezoids", True,
          "10 trapezoids approximate the area" in controls["Graph"].description)

    # Dictation and on-screen keyboards set text through EditableText: a
    # megabyte is cut at the cap there too (uncut, the editor would lay it out
    # for over a minute, past the test's time limit).
    box = controls["Result"]
    for route, put in [("setTextContents", lambda t: box.queryEditableText().setTextContents(t)),
                       ("insertText", lambda t: box.queryEditableText().insertText(0, t, len(t)))]:
        put("x" * (1 << 20))
        check(f"{route}: cut at the cap", 65535, box.queryText().characterCount)
finally:
    program.terminate()
    program.wait(10)

print(f"atspi: {passes} passed, {failures} failed")
sys.exit(1 if failures else 0)
