#!/usr/bin/python3
"""Reads the tool through the accessibility bus (AT-SPI), as a screen reader does.

  atspi_walk.py check [--radio NAME]... [--hint BUTTON=TEXT]...
      Walks every window of the tool. Fails on an input (edit, list, box,
      radio button, table) without a name, two inputs of one page or window
      read out alike, a list named by its entry instead of its caption, a
      group named after the group around it, a NAME that is not announced as
      a radio button, and a push button BUTTON whose tooltip lacks TEXT.
  atspi_walk.py buttons
      Prints the push buttons of the tool's showing dialogs, one a line.
  atspi_walk.py focused
      Prints "role<TAB>name" of the object of the tool's active window that
      has the focus.
  atspi_walk.py focus-log FILE
      Appends "role<TAB>name" to FILE each time an object of the tool takes
      the focus, until it is stopped.
"""
import sys
import time

import pyatspi

APP = "Tarnwick"
INPUTS = {
    "combo box", "text", "password text", "check box", "radio button", "spin button",
    "table", "tree table", "list", "toggle button", "slider", "entry",
}


def find_app():
    for _ in range(150):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == APP:
                return app
        time.sleep(0.2)
    sys.exit("the tool is not on the accessibility bus")


def children(acc):
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield child


def value_text(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


def collect_entries(acc, entries):
    for kid in children(acc):
        if kid.getRoleName() == "list item":
            entries.add(kid.name)
        collect_entries(kid, entries)


class Walk:
    def __init__(self):
        self.inputs = 0
        self.roles = {}
        self.failures = []
        self.named = {}  # (group, name) -> count
        self.buttons = []  # (name, description)

    def fail(self, where, text):
        self.failures.append(f"{where}: {text}")

    def visit(self, acc, group, outer_panel):
        role = acc.getRoleName()
        name = acc.name or ""
        if role == "push button":
            self.buttons.append((name, acc.description or ""))
        if role in INPUTS:
            self.inputs += 1
            self.roles[role] = self.roles.get(role, 0) + 1
            where = f"{group} [{role}]"
            if not name.strip():
                self.fail(where, "an input without a caption" +
                          (f" (value {value_text(acc)!r})" if value_text(acc) else ""))
            else:
                key = (group, name)
                self.named[key] = self.named.get(key, 0) + 1
                if self.named[key] == 2:
                    self.fail(where, f"{name!r} is read out by two inputs")
            if role == "combo box":
                entries = set()
                collect_entries(acc, entries)
                if name in entries or name == value_text(acc):
                    self.fail(where, f"{name!r}: a list named by its entry, not its caption")
            return  # a list's entries, a table's cells belong to it
        if role == "panel" and name and name == outer_panel:
            self.fail(f"{group} [panel]", f"{name!r}: a group named after the group around it")
        if role == "panel" and name:
            outer_panel = name
        kids = list(children(acc))
        tabs = [k for k in kids if k.getRoleName() == "page tab list"]
        for kid in kids:
            kid_group = group
            if kid.getRoleName() == "layered pane" and tabs:
                # The pages of a tab widget: each is a group of its own,
                # named by its tab.
                names = [t.name for t in children(tabs[0])]
                for index, page in enumerate(children(kid)):
                    label = names[index] if index < len(names) else str(index)
                    self.visit(page, f"{group} / {label}", "")
                continue
            self.visit(kid, kid_group, outer_panel)


def check(args):
    radios, hints = [], []
    while args:
        option, value = args[0], args[1]
        args = args[2:]
        if option == "--radio":
            radios.append(value)
        elif option == "--hint":
            hints.append(value.split("=", 1))
    app = find_app()
    walk = Walk()
    windows = 0
    for window in children(app):
        windows += 1
        walk.visit(window, window.name or window.getRoleName(), "")
    roles = {}
    for acc_role in ("radio button", "check box"):
        roles[acc_role] = set()

    def collect(acc):
        role = acc.getRoleName()
        if role in roles:
            roles[role].add(acc.name)
        for kid in children(acc):
            collect(kid)

    collect(app)
    for radio in radios:
        if radio not in roles["radio button"]:
            state = "a check box" if radio in roles["check box"] else "missing"
            walk.fail("radio buttons", f"{radio!r} is {state}, not a radio button")
    for button, text in hints:
        found = [d for n, d in walk.buttons if n == button]
        if not found:
            walk.fail("tooltips", f"no push button {button!r}")
        for description in found:
            if text not in description:
                walk.fail("tooltips", f"{button!r}: {description!r} does not name {text}")
    print(f"AT-SPI walk: {windows} windows, {walk.inputs} inputs checked (" +
          ", ".join(f"{n} {r}" for r, n in sorted(walk.roles.items())) + f"), "
          f"{len(walk.failures)} failures")
    for failure in walk.failures:
        print("  " + failure)
    return 1 if walk.failures else 0


def buttons():
    app = find_app()

    def visit(acc):
        if acc.getRoleName() == "push button":
            print(acc.name)
        for kid in children(acc):
            visit(kid)

    for window in children(app):
        if window.getRoleName() in ("dialog", "alert") and \
                window.getState().contains(pyatspi.STATE_SHOWING):
            visit(window)
    return 0


def focused():
    app = find_app()

    def visit(acc):
        states = acc.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            return False
        if states.contains(pyatspi.STATE_FOCUSED):
            print(f"{acc.getRoleName()}\t{acc.name}")
            return True
        return any(visit(kid) for kid in children(acc))

    for window in children(app):
        if window.getState().contains(pyatspi.STATE_ACTIVE) and visit(window):
            return 0
    return 1


def focus_log(path):
    find_app()
    out = open(path, "a", buffering=1, encoding="utf-8")

    def focused(event):
        if event.detail1 != 1:
            return
        try:
            if event.source.getApplication().name != APP:
                return
            out.write(f"{event.source.getRoleName()}\t{event.source.name}\n")
        except Exception:  # an object gone before it was read
            pass

    pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
    pyatspi.Registry.start()
    return 0


def main():
    if len(sys.argv) >= 2 and sys.argv[1] == "check":
        return check(sys.argv[2:])
    if len(sys.argv) == 2 and sys.argv[1] == "buttons":
        return buttons()
    if len(sys.argv) == 2 and sys.argv[1] == "focused":
        return focused()
    if len(sys.argv) == 3 and sys.argv[1] == "focus-log":
        return focus_log(sys.argv[2])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
