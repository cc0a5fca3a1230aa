#!/usr/bin/python3
"""Walks the accessible tree of the running IDE (the application named
tarnik on the accessibility bus) and prints every object that can take the
keyboard focus but has no name, with its role and its path from the
application, as a screen reader would meet it. Exits 1 when it found one,
2 when the IDE is not on the bus.

Usage: a11y-walk.py LABEL   (LABEL names the state of the IDE in the output)
"""
import sys
import time

import pyatspi

# A table's or a list's rows and cells are named by their text; the
# containers are walked only this deep into their children, so that a long
# program listing does not take minutes.
MAX_CHILDREN = 200


def find_ide():
    # The IDE registers with the bus a moment after its window shows.
    for _ in range(50):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == "tarnik":
                return app
        time.sleep(0.2)
    return None


def describe(obj):
    name = obj.name or ""
    return f"{obj.getRoleName()} «{name}»" if name else obj.getRoleName()


def walk(obj, path, unnamed, seen):
    for index in range(min(obj.childCount, MAX_CHILDREN)):
        child = obj.getChildAtIndex(index)
        if child is None:
            continue
        key = hash(child)
        if key in seen:
            continue
        seen.add(key)
        child_path = path + [describe(child)]
        states = child.getState()
        if states.contains(pyatspi.STATE_FOCUSABLE) and not (child.name or "").strip():
            unnamed.append((child.getRoleName(), " / ".join(child_path)))
        walk(child, child_path, unnamed, seen)


def main():
    label = sys.argv[1] if len(sys.argv) > 1 else ""
    ide = find_ide()
    if ide is None:
        print(f"a11y-check: 无障碍总线上没有名为 tarnik 的程序（{label}）", file=sys.stderr)
        return 2
    unnamed = []
    seen = set()
    walk(ide, [], unnamed, seen)
    for role, path in unnamed:
        print(f"没有名称（{label}）: {role}: {path}")
    windows = ", ".join(child.name for child in ide if child is not None and child.name)
    print(f"{label}: 看了 {len(seen)} 个对象（窗口：{windows}），{len(unnamed)} 个能获得焦点却没有名称")
    return 1 if unnamed else 0


if __name__ == "__main__":
    sys.exit(main())
