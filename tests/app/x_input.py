#!/usr/bin/env python3
"""Acts on the X display ($DISPLAY) through XTest, as a person at the mouse
and keyboard would, one step per argument:
  click:X,Y       moves the pointer there and clicks the left button
  wheel:X,Y,N     turns the wheel down N notches with the pointer there
  wait:FILE       waits (up to 30 s) until FILE exists
  sleep:S         pauses S seconds
  KEY[+KEY...]    presses the keys (X keysym names) together, e.g. a, Return
"""
import ctypes, os, sys, time
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
d = x11.XOpenDisplay(None)
if not d: sys.exit("no display")
def key(name, press):
    code = x11.XKeysymToKeycode(d, x11.XStringToKeysym(name.encode()))
    xtst.XTestFakeKeyEvent(d, code, press, 0); x11.XFlush(d); time.sleep(0.05)
for word in sys.argv[1:]:
    if word.startswith("wait:"):
        deadline = time.time() + 30
        while not os.path.exists(word[5:]) and time.time() < deadline: time.sleep(0.1)
        continue
    if word.startswith("sleep:"): time.sleep(float(word[6:])); continue
    if word.startswith("click:"):
        x, y = map(int, word[6:].split(","))
        xtst.XTestFakeMotionEvent(d, -1, x, y, 0)
        xtst.XTestFakeButtonEvent(d, 1, 1, 0); xtst.XTestFakeButtonEvent(d, 1, 0, 0)
        x11.XFlush(d); time.sleep(0.2); continue
    if word.startswith("wheel:"):
        x, y, n = map(int, word[6:].split(","))
        xtst.XTestFakeMotionEvent(d, -1, x, y, 0)
        for _ in range(n):
            xtst.XTestFakeButtonEvent(d, 5, 1, 0); xtst.XTestFakeButtonEvent(d, 5, 0, 0)
            x11.XFlush(d); time.sleep(0.02)
        time.sleep(0.3); continue
    keys = word.split("+")
    for k in keys: key(k, 1)
    for k in reversed(keys): key(k, 0)
