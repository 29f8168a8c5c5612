#!/usr/bin/env python3
"""Reads and drives the program over the accessibility bus, as a screen reader
does. Used by the end-to-end tests through lib_atspi.sh.

    atspi_tree.py APP dump [WINDOW]        the tree: role, name, states
    atspi_tree.py APP find ROLE NAME       status 0 when such an object shows
    atspi_tree.py APP describe ROLE NAME   prints the object's description
    atspi_tree.py APP states ROLE NAME     prints its states, one a line
    atspi_tree.py APP action ROLE NAME     runs its first action
    atspi_tree.py APP focused              prints "role|name" of the object
                                           that has the keyboard focus

APP is the application's name on the bus. ROLE is the role's name as AT-SPI
says it ("push button", "label"). Objects in windows that are not showing are
passed over. Status 2 means the program is not on the bus (yet).
"""

import sys

import pyatspi


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def states_of(obj):
    try:
        return [pyatspi.stateToString(s) for s in obj.getState().getStates()]
    except Exception:  # an object that went away while we read it
        return []


def walk(obj, depth=0, showing_only=True):
    """Yields (depth, object) over the tree, skipping what is not showing."""
    if obj is None:
        return
    if showing_only and depth > 0 and "showing" not in states_of(obj):
        return
    yield depth, obj
    try:
        count = obj.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = obj.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1, showing_only)


def find(app, role, name):
    for _, obj in walk(app):
        if obj.getRoleName() == role and obj.name == name:
            return obj
    return None


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 64
    app = find_app(argv[1])
    if app is None:
        return 2
    command = argv[2]
    if command == "dump":
        window = argv[3] if len(argv) > 3 else None
        for depth, obj in walk(app):
            if depth == 1 and window is not None and obj.name != window:
                continue
            if window is not None and depth > 1 and not _inside(obj, window):
                continue
            states = [s for s in states_of(obj) if s in ("focused", "checked", "pressed", "focusable")]
            desc = obj.description.replace("\n", " ")
            if len(desc) > 60:
                desc = desc[:57] + "..."
            line = "  " * depth + f"{obj.getRoleName()}: {obj.name!r}"
            if desc:
                line += f" ({desc})"
            if states:
                line += " [" + ", ".join(states) + "]"
            print(line)
        return 0
    if command == "focused":
        # The deepest focused object: a control that moves a focus mark over
        # its drawn children is focused itself, and so is the marked child.
        found = None
        for _, obj in walk(app):
            if "focused" in states_of(obj):
                found = obj
        if found is None:
            return 1
        print(f"{found.getRoleName()}|{found.name}")
        return 0
    if len(argv) < 5:
        print(__doc__, file=sys.stderr)
        return 64
    obj = find(app, argv[3], argv[4])
    if obj is None:
        return 1
    if command == "find":
        return 0
    if command == "describe":
        print(obj.description)
        return 0
    if command == "states":
        print("\n".join(states_of(obj)))
        return 0
    if command == "action":
        action = obj.queryAction()
        if action.nActions < 1:
            return 1
        return 0 if action.doAction(0) else 1
    print(__doc__, file=sys.stderr)
    return 64


def _inside(obj, window):
    node = obj
    while node is not None:
        parent = node.parent
        if parent is not None and parent.getRoleName() == "application":
            return node.name == window
        node = parent
    return False


if __name__ == "__main__":
    sys.exit(main(sys.argv))
