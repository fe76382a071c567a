#!/usr/bin/env python3
"""Reads a program's windows as a screen reader does, through AT-SPI.

    atspi_reader.py

Runs beside the end-to-end suite in its private desktop (the suite's DISPLAY and session bus,
where at-spi-bus-launcher runs) and answers one request per line on standard input:

    tree <pid>

with one line of JSON on standard output: the windows on show of the application whose process
is <pid>, each as {"name", "extents", "nodes"}, the nodes being the window's descendants on show
as {"role", "name", "checked", "extents"}; or null while the application is not (yet) known to
the registry. It is a process of its own because pyatspi keeps its bus connection for the life
of the process, while each scenario of the suite brings its own buses, and because a hung call
in it must not hang the suite.
"""
import json, sys

import pyatspi
from gi.repository import GLib

SHOWING = pyatspi.STATE_SHOWING
CHECKED = pyatspi.STATE_CHECKED


def settle():
    # Registry and application signals (applications coming and going, names changing) are
    # dispatched by the main loop, which nothing else runs here.
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def extents(accessible):
    try:
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return [box.x, box.y, box.width, box.height]
    except (NotImplementedError, GLib.Error):
        return None


def nodes_on_show(accessible, into):
    for child in accessible:
        if child is None:
            continue
        try:
            states = child.getState()
            if not states.contains(SHOWING):
                continue
            into.append({"role": child.getRoleName(), "name": child.name or "",
                         "checked": states.contains(CHECKED), "extents": extents(child)})
            nodes_on_show(child, into)
        except GLib.Error:
            continue   # the widget went while it was being read


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except GLib.Error:
            continue
    return None


def tree(pid):
    settle()
    app = application(pid)
    if app is None:
        return None
    # Every read asks the program again: a cached name would be the text of an earlier moment.
    app.clear_cache()
    windows = []
    for window in app:
        try:
            if window is None or not window.getState().contains(SHOWING):
                continue
            nodes = []
            nodes_on_show(window, nodes)
            windows.append({"name": window.name or "", "extents": extents(window), "nodes": nodes})
        except GLib.Error:
            continue
    return windows


def main():
    for line in sys.stdin:
        words = line.split()
        if words[:1] == ["tree"] and len(words) == 2:
            try:
                answer = tree(int(words[1]))
            except GLib.Error:
                answer = None   # the application went while it was being read
            print(json.dumps(answer, ensure_ascii=False), flush=True)
        else:
            print(json.dumps({"error": f"unknown request {line.strip()!r}"}), flush=True)


if __name__ == "__main__":
    main()
