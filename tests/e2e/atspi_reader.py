#!/usr/bin/env python3
"""Reads a program's windows as a screen reader does, through AT-SPI.

    atspi_reader.py

Runs beside the end-to-end suite in its private desktop (the suite's DISPLAY and session bus,
where at-spi-bus-launcher runs) and answers one request per line on standard input:

    tree <pid>
    press {"pid": <pid>, "window": <window name>, "name": <control name>}

with one line of JSON on standard output. For tree: the windows on show of the application whose
process is <pid>, each as {"name", "extents", "nodes"}, the nodes being the window's descendants
on show as {"role", "name", "checked", "extents"}; or null while the application is not (yet)
known to the registry. For press: true once the control on show of that name in that window has
done its first action (a button's press), as a screen reader's user presses it without a mouse
or keyboard; false when there is no such control. It is a process of its own because pyatspi keeps its bus connection for the life
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


def applications(pid):
    """The process's entries in the registry: usually one, but under XWayland the program is
    listed twice, once without windows."""
    desktop = pyatspi.Registry.getDesktop(0)
    found = []
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                # Every read asks the program again: a cached name would be the text of an
                # earlier moment.
                app.clear_cache()
                found.append(app)
        except GLib.Error:
            continue
    return found


def windows_on_show(pid):
    for app in applications(pid):
        for window in app:
            try:
                if window is not None and window.getState().contains(SHOWING):
                    yield window
            except GLib.Error:
                continue


def tree(pid):
    settle()
    if not applications(pid):
        return None
    windows = []
    for window in windows_on_show(pid):
        try:
            nodes = []
            nodes_on_show(window, nodes)
            windows.append({"name": window.name or "", "extents": extents(window), "nodes": nodes})
        except GLib.Error:
            continue
    return windows


def control_on_show(accessible, name):
    for child in accessible:
        try:
            if child is None or not child.getState().contains(SHOWING):
                continue
            if (child.name or "") == name:
                return child
            found = control_on_show(child, name)
            if found:
                return found
        except GLib.Error:
            continue
    return None


def press(pid, window_name, name):
    settle()
    for window in windows_on_show(pid):
        try:
            if window.name != window_name:
                continue
            control = control_on_show(window, name)
            if control:
                return bool(control.queryAction().doAction(0))
        except (GLib.Error, NotImplementedError):
            continue
    return False


def main():
    for line in sys.stdin:
        words = line.split(maxsplit=1)
        if words[:1] == ["tree"] and len(words) == 2:
            try:
                answer = tree(int(words[1]))
            except GLib.Error:
                answer = None   # the application went while it was being read
            print(json.dumps(answer, ensure_ascii=False), flush=True)
        elif words[:1] == ["press"] and len(words) == 2:
            request = json.loads(words[1])
            try:
                answer = press(request["pid"], request["window"], request["name"])
            except GLib.Error:
                answer = False
            print(json.dumps(answer), flush=True)
        else:
            print(json.dumps({"error": f"unknown request {line.strip()!r}"}), flush=True)


if __name__ == "__main__":
    main()
