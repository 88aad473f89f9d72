"""Starts Tabulon in a folder, presses 「アンケート集計」 through AT-SPI as a
screen reader user would, and prints the accessibility tree of what is
showing. Fails when the bars do not read the counts, row by row.

Run by scripts/atspi-dump inside a virtual display and a session bus:
  atspi_dump.py TABULON FOLDER ERROR_LOG
"""

import os
import subprocess
import sys
import time

import pyatspi


def find(node, test, depth=0):
    if test(node):
        return node
    for child in node or []:
        if child is not None and depth < 40:
            hit = find(child, test, depth + 1)
            if hit is not None:
                return hit
    return None


def application():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == "tabulon":
                return app
        time.sleep(0.2)
    sys.exit("atspi-dump: Tabulon never appeared on the accessibility bus")


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def dump(node, depth, lines):
    lines.append("%s%s: %s" % ("  " * depth, node.getRoleName(),
                                node.name or "(no name)"))
    for child in node:
        if child is not None and showing(child):
            dump(child, depth + 1, lines)


def tally_and_dump():
    app = application()
    tally = find(app, lambda n: n.getRoleName() == "push button"
                 and n.name == "アンケート集計")
    if tally is None:
        sys.exit("atspi-dump: no 「アンケート集計」 button")
    tally.queryAction().doAction(0)
    time.sleep(1.5)
    lines = []
    for window in app:
        dump(window, 0, lines)
    return lines


def check(lines):
    entries = [line.strip().split(": ", 1) for line in lines]
    bars = [name for role, name in entries if role == "progress bar"]
    counts = [name for role, name in entries
              if role == "label" and name.endswith("人")]
    print("\n%d count labels and %d bars showing" % (len(counts), len(bars)))
    # Every bar reads a count, and the bars read the counts, row by row.
    if not bars or bars != counts:
        sys.exit("atspi-dump: the bars do not read the counts: %s / %s"
                 % (bars, counts))


def main():
    program, folder, error_log = sys.argv[1:4]
    # The AT-SPI bridge needs the X11 platform and Qt's accessibility on.
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", LC_ALL="C.UTF-8")
    env.pop("QT_QPA_PLATFORM", None)
    with open(error_log, "wb") as errors:
        tabulon = subprocess.Popen([program, folder], env=env, stderr=errors)
    try:
        lines = tally_and_dump()
        print("\n".join(lines))
        check(lines)
    finally:
        tabulon.kill()
        tabulon.wait()


if __name__ == "__main__":
    main()
