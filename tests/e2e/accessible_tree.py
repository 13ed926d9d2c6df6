#!/usr/bin/python3
"""Reads the program's window as a screen reader does, through AT-SPI, and checks it: every
shown control has a name, the three check boxes are check boxes, the piano is 37 keys named by
their notes and described by their PC keys, and exactly the keys given are pressed.

Usage: accessible_tree.py APPLICATION [PRESSED_KEY_NAME...]; exits 1 with the faults found."""

import re
import sys

import pyatspi

CONTROLS = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_LABEL, pyatspi.ROLE_SLIDER, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_COMBO_BOX,
}
KEY_NAME = re.compile(r"^[A-G]#?[0-9], (до|ре|ми|фа|соль|ля|си)#?[0-9]$")


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    sys.exit(f"no application {name} on the AT-SPI bus")


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def shown(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def main():
    app = application(sys.argv[1])
    expected_pressed = sorted(sys.argv[2:])
    faults = []
    pianos = []
    check_boxes = 0
    for node in nodes(app):
        role = node.getRole()
        if role in CONTROLS and shown(node) and not node.name.strip():
            parent = node.parent
            faults.append(f"a {node.getRoleName()} without a name in «{parent.name}»")
        if role == pyatspi.ROLE_CHECK_BOX and shown(node):
            check_boxes += 1
        if role == pyatspi.ROLE_PANEL and node.name == "Клавиатура":
            pianos.append(node)
    if check_boxes != 3:
        faults.append(f"{check_boxes} check boxes shown, not 3")
    if len(pianos) != 1:
        faults.append(f"{len(pianos)} pianos in the tree, not 1")
    else:
        keys = [key for key in pianos[0]]
        if len(keys) != 37:
            faults.append(f"{len(keys)} piano keys, not 37")
        for key in keys:
            if key.getRole() != pyatspi.ROLE_PUSH_BUTTON or not KEY_NAME.match(key.name):
                faults.append(f"a piano key {key.getRoleName()} «{key.name}»")
            if not key.description.startswith("клавиша "):
                faults.append(f"the key «{key.name}» is described as «{key.description}»")
        pressed = sorted(key.name for key in keys
                         if key.getState().contains(pyatspi.STATE_PRESSED))
        if pressed != expected_pressed:
            faults.append(f"pressed keys {pressed}, not {expected_pressed}")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
