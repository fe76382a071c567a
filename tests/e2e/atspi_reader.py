#!/usr/bin/env python3
"""Reads a program's windows as a screen reader does, through AT-SPI.

    atspi_reader.py

Runs beside the end-to-end suite in its private desktop (the suite's DISPLAY and session bus,
where at-spi-bus-launcher runs) and answers one request per line on standard input:

    tree <pid>
    press {"pid": <pid>, "window": <window name>, "name": <control name>}
    appeared <pid>

with one line of JSON on standard output. For tree: the windows on show of the application whose
process is <pid>, each as {"name", "extents", "active", "nodes"}, the nodes being the window's descendants on
show as {"role", "name", "description", "checked", "focused", "extents"} (a text node also with its
"text"); or null while the application is not
(yet) known to the registry. For press: true once the control on show of that name in that window
has done its first action (a button's press), as a screen reader's user presses it without a mouse
or keyboard; false when there is no such control. For appeared: the texts that came on show in the
application since the last such request, in order, as the application told the bus (a text shown and
hidden again between two readings of the tree is among them). It is a process of its own because
pyatspi keeps its bus connection for the life of the process, while each scenario of the suite
brings its own buses, and because a hung call in it must not hang the suite.
"""
import json, sys

import pyatspi
from gi.repository import GLib

SHOWING = pyatspi.STATE_SHOWING
CHECKED = pyatspi.STATE_CHECKED
FOCUSED = pyatspi.STATE_FOCUSED
ACTIVE = pyatspi.STATE_ACTIVE


def settle():
    # Registry and application signals (applications coming and going, names changing) are
    # dispatched by the main loop, which nothing else runs here.
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


# What the application said came on show. A text on show for a moment (a mark before the program
# moves on) can come and go between two readings of the tree, and one reading asks the program a
# few hundred questions, which on a loaded machine takes about as long as such a mark stays.
appeared = []          # (pid, text)
on_show = {}           # accessible -> whether it is on show, as its last showing event said


def on_event(event):
    try:
        source = event.source
        if event.type.endswith("showing"):
            on_show[source] = bool(event.detail1)
        elif source not in on_show:
            on_show[source] = source.getState().contains(SHOWING)
        if on_show[source]:
            # The name is asked for when the event is taken, which is soon (each request of the
            # suite takes the events first) and before the next input, so before the program
            # gives the control another text.
            appeared.append((source.get_process_id(), source.name or ""))
    except GLib.Error:
        pass   # the widget went before its event was read


def take_appeared(pid):
    settle()
    global appeared
    taken = [text for owner, text in appeared if owner == pid]
    appeared = [(owner, text) for owner, text in appeared if owner != pid]
    return taken


def extents(accessible):
    try:
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return [box.x, box.y, box.width, box.height]
    except (NotImplementedError, GLib.Error):
        return None


def text_of(accessible):
    try:
        text = accessible.queryText()
        return text.getText(0, text.characterCount)
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
            node = {"role": child.getRoleName(), "name": child.name or "",
                    "description": child.description or "",
                    "checked": states.contains(CHECKED), "focused": states.contains(FOCUSED),
                    "extents": extents(child)}
            if node["role"] == "text":
                node["text"] = text_of(child)
            into.append(node)
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
            windows.append({"name": window.name or "", "extents": extents(window),
                            "active": window.getState().contains(ACTIVE), "nodes": nodes})
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
    pyatspi.Registry.registerEventListener(on_event, "object:property-change:accessible-name",
                                           "object:state-changed:showing")
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
        elif words[:1] == ["appeared"] and len(words) == 2:
            print(json.dumps(take_appeared(int(words[1])), ensure_ascii=False), flush=True)
        else:
            print(json.dumps({"error": f"unknown request {line.strip()!r}"}), flush=True)


if __name__ == "__main__":
    main()
