"""Presses physical keys through the X server, by keycode, as a keyboard would.
Reads one chord a line from standard input, keycodes apart (e.g. "64 10": left
Alt with the key labelled 1); presses each key down in order, then up in
reverse, so the first ones act as modifiers; answers "done" once the server has
them."""
import sys

from Xlib import X, display
from Xlib.ext import xtest

server = display.Display()
for line in sys.stdin:
    codes = [int(code) for code in line.split()]
    for code in codes:
        xtest.fake_input(server, X.KeyPress, code)
    for code in reversed(codes):
        xtest.fake_input(server, X.KeyRelease, code)
    server.sync()
    print("done", flush=True)
