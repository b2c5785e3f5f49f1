"""Presses physical keys through the X server, by keycode, as a keyboard would:
each code down in order, then up in reverse, so the first ones act as modifiers.
    keys.py KEYCODE...      (e.g. 64 10: left Alt with the key left of 2)"""
import sys

from Xlib import X, display
from Xlib.ext import xtest

server = display.Display()
codes = [int(code) for code in sys.argv[1:]]
for code in codes:
    xtest.fake_input(server, X.KeyPress, code)
for code in reversed(codes):
    xtest.fake_input(server, X.KeyRelease, code)
server.sync()
