#!/usr/bin/python3
"""The real program as a screen reader sees it over AT-SPI.

Runs inside a private X session and session bus (see tests/CMakeLists.txt);
starts the accessibility bus itself, then the program with its bridge on, and
fails on any showing control without a sound name or with the wrong role. It
then presses the Pen button through its action, as a reader's user would, and
checks that a page covers the screen and the Pen is the checked tool.
"""

import os
import re
import subprocess
import sys
import tempfile
import time

DEADLINE = 60  # seconds; guards a hang, never a wait for something expected

CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "slider", "dial",
    "spin button", "menu item", "check menu item", "radio menu item", "list item",
    "combo box", "text", "entry", "page tab",
}
TOOL_BUTTON_ROLES = {"push button", "toggle button"}

# Internal identifiers: camelCase, snake_case, class names (three humps or a
# class suffix; the menus' "FullScreen" is a word the program shows), resource
# paths, file names, object names Qt makes up.
IDENTIFIER = re.compile(
    r"\b[a-z]+[A-Z]|_|^:/|\.(png|svg|jpg|ini|xml|qrc)$|Btn|Widget|Dlg\b|^Q[A-Z]|^qt_"
    r"|\b(?:[A-Z][a-z]+){3,}\b")

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message, file=sys.stderr)


def poll(what, probe):
    """probe() until it returns something true; a deadline only guards hangs."""
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise SystemExit("gave up waiting for " + what)


def a11y_bus_up():
    return subprocess.run(
        ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
         "org.a11y.Bus.GetAddress"], capture_output=True).returncode == 0


def start_program(home):
    env = dict(os.environ)
    data = os.path.join(home, "data")
    run = os.path.join(home, "run")
    os.makedirs(os.path.join(data, "Quillbury", "Tavelmark"))
    os.makedirs(run, mode=0o700)
    with open(os.path.join(data, "Quillbury", "Tavelmark", "Setting.ini"), "w") as f:
        f.write("[UserInterface]\nLanguage=en_GB\nCaptureDelay=200\nShowTrayIcon=0\n")
    env.update({
        "HOME": home, "XDG_DATA_HOME": data, "XDG_RUNTIME_DIR": run,
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "QT_QPA_PLATFORM": "xcb", "QT_ACCESSIBILITY": "1",
        "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
    })
    return subprocess.Popen([os.environ["TAV_PROGRAM"]], env=env)


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child


def walk(node, pyatspi, path=""):
    """Every showing accessible below node, with a readable path for messages."""
    for child in children(node):
        states = child.getState()
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        here = path + "/" + (child.getRoleName() + ":" + (child.name or "?"))
        yield child, here
        yield from walk(child, pyatspi, here)


def check_names(app, pyatspi):
    seen = 0
    for node, where in walk(app, pyatspi):
        role = node.getRoleName()
        if role not in CONTROL_ROLES:
            continue
        seen += 1
        name = node.name or ""
        if not name.strip():
            fail("no name: " + where)
        elif IDENTIFIER.search(name):
            fail("name looks like an identifier: " + where)
        if role in ("filler", "panel", "unknown") and node.queryAction().nActions:
            fail("control with a container's role: " + where)
    if seen < 20:
        fail("only %d controls are showing" % seen)
    print("%d showing controls checked" % seen)


def find_button(app, pyatspi, name):
    for node, where in walk(app, pyatspi):
        if node.name == name and node.getRoleName() in TOOL_BUTTON_ROLES | {"filler", "panel",
                                                                           "unknown"}:
            if node.getRoleName() not in TOOL_BUTTON_ROLES:
                fail("%s has role %s" % (where, node.getRoleName()))
            return node
    return None


def check_menu_entries(app, pyatspi):
    """The menus' entries, which the toolbar's menu shows too. Qt leaves popup
    menus out of the tree while they are open (readers follow their focus), so
    they are read here through the main window's menu bar, showing or not."""
    entries = 0

    def visit(node, where):
        nonlocal entries
        for child in children(node):
            here = where + "/" + child.getRoleName() + ":" + (child.name or "?")
            if child.getRoleName() in ("menu item", "check menu item", "radio menu item"):
                entries += 1
                if not (child.name or "").strip():
                    if not child.getState().contains(pyatspi.STATE_VISIBLE):
                        continue  # a separator
                    fail("no name: " + here)
                elif IDENTIFIER.search(child.name):
                    fail("name looks like an identifier: " + here)
            visit(child, here)

    for node, where in walk(app, pyatspi):
        if node.getRoleName() == "frame":
            for child in children(node):
                if child.getRoleName() == "tool bar":
                    visit(child, where)
    if entries < 30:
        fail("only %d menu entries" % entries)
    print("%d menu entries checked" % entries)


def list_item(app, pyatspi, name):
    for node, _ in walk(app, pyatspi):
        if node.getRoleName() == "list item" and node.name == name:
            return node
    return None


def named(app, pyatspi, name):
    return any(node.name == name for node, _ in walk(app, pyatspi))


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == "press":
            return action.doAction(i)
    fail("%s has no press action" % node.name)
    return False


def screen_size():
    out = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True, text=True)
    return tuple(int(v) for v in out.stdout.split())


def page_covers_screen(app, pyatspi, size):
    for child in children(app):
        if not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        extents = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if (extents.width, extents.height) == size:
            return True
    return False


def main():
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    program = None
    try:
        poll("the accessibility bus", a11y_bus_up)
        import pyatspi  # after the bus is up: importing connects to it
        from gi.repository import GLib

        with tempfile.TemporaryDirectory() as home:
            program = start_program(home)
            desktop = pyatspi.Registry.getDesktop(0)

            def application():
                for app in children(desktop):
                    if app.name.lower() == "tavelmark":
                        return app
                return None

            app = poll("the program on the accessibility bus", application)
            pen = poll("the Pen button", lambda: find_button(app, pyatspi, "Pen"))
            check_names(app, pyatspi)

            undo = find_button(app, pyatspi, "Undo")
            if undo is None or undo.getState().contains(pyatspi.STATE_ENABLED):
                fail("Undo is not there or enabled on a fresh start")
            if pen.getState().contains(pyatspi.STATE_CHECKED):
                fail("Pen is checked before it was chosen")
            if not (pen.description or "").strip():
                fail("Pen has no description")

            press(pen)
            size = screen_size()
            poll("a page covering the screen", lambda: page_covers_screen(app, pyatspi, size))
            pen = poll("the Pen button on the page", lambda: find_button(app, pyatspi, "Pen"))
            poll("Pen checked", lambda: pen.getState().contains(pyatspi.STATE_CHECKED))
            # Readers follow a change of tool on the page by its event, not
            # by asking.
            checked_events = []
            pyatspi.Registry.registerEventListener(
                lambda e: checked_events.append((e.source.name, e.detail1)),
                "object:state-changed:checked")
            press(find_button(app, pyatspi, "Highlighter"))
            context = GLib.MainContext.default()
            poll("the event telling Highlighter is checked",
                 lambda: context.iteration(False) or ("Highlighter", 1) in checked_events)
            poll("the page number told", lambda: named(app, pyatspi, "Page 1 of 1"))
            check_names(app, pyatspi)
            check_menu_entries(app, pyatspi)

            # The page browser lists the pages by number, the current one selected.
            press(find_button(app, pyatspi, "Page Browser"))
            page = poll("the browser's page", lambda: list_item(app, pyatspi, "Page 1"))
            if not page.getState().contains(pyatspi.STATE_SELECTED):
                fail("the current page is not selected in the browser")
            check_names(app, pyatspi)
    finally:
        if program is not None:
            program.kill()
            program.wait()
        launcher.terminate()
        launcher.wait()
    if failures:
        print("%d failures" % len(failures), file=sys.stderr)
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
