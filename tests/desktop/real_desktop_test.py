#!/usr/bin/python3
"""Portolan on a real X server with a window manager, driven by real input events.

Starts Xvfb on a free display number, openbox and a D-Bus session with the accessibility bus, runs a copy
of the portolan binary in a fresh folder with its own HOME (so no settings file is left beside the
build), presses keys and clicks through XTest (xdotool), and compares what the window manager reports
(client geometry, _NET_FRAME_EXTENTS) and what a screen reader sees (AT-SPI) with the rules of the
windows. Everything it starts is stopped at the end, also on failure.

Usage: real_desktop_test.py PATH-TO-PORTOLAN
Needs Debian's xvfb, openbox, xdotool, x11-utils, dbus, at-spi2-core and python3-pyatspi; run it with
Debian's own /usr/bin/python3, which has pyatspi.
"""

import datetime
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

# The display and its window manager, shared with the real-window test of the Windows build.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import x_display  # noqa: E402
from check_suite import Suite  # noqa: E402
from x_display import SCREEN  # noqa: E402

TIMEOUT = 10.0
# How long a dialog may take to reach its place: the program puts it where an estimate of the frame
# says and moves it once the window manager has framed it, if the real frame differs.
PLACING = 3.0


def wait_for(what, probe, timeout=TIMEOUT):
    return x_display.wait_for(what, probe, timeout)


class Desktop(x_display.Display):
    """Xvfb, openbox and a D-Bus session, on a display of their own."""

    def __init__(self, work):
        super().__init__(work, dict(os.environ), TIMEOUT, key_delay=30)
        home = os.path.join(work, "home")
        runtime = os.path.join(work, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_CACHE_HOME=os.path.join(home, ".cache"), LC_ALL="C", LANG="C",
                        QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for name in ("QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)

    def display_started(self):
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                               env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               start_new_session=True)
        self.processes.append(bus)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()

    # --- what the window manager reports ---

    def windows(self, pid, title):
        found = self.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", f"^{title}$"])
        return [int(line) for line in found.split()]

    def placed_frame(self, window, wanted):
        """The frame once the window stands still where wanted(outer frame) puts its outer corner, or,
        if it does not get there in time, where it stands then."""
        deadline = time.monotonic() + PLACING
        while True:
            frame = self.settled_frame(window)
            if frame["outer"][:2] == wanted(frame["outer"]) or time.monotonic() > deadline:
                return frame


class Program:
    """A copy of portolan in a folder of its own: its settings file stays there, and starts as the given
    record when there is one."""

    def __init__(self, desktop, binary, arguments=(), settings=None):
        self.desktop = desktop
        folder = tempfile.mkdtemp(dir=desktop.work, prefix="program-")
        copy = os.path.join(folder, "portolan")
        shutil.copy2(binary, copy)
        self.settings = os.path.join(folder, "prtln.cfg")
        if settings is not None:
            with open(self.settings, "wb") as file:
                file.write(settings)
        self.log = os.path.join(folder, "output.log")
        with open(self.log, "w") as log:
            self.process = desktop.spawn([copy, *arguments], cwd=folder, stderr=log)

    def output(self):
        with open(self.log) as log:
            return log.read()

    def window(self, title):
        return wait_for(f'window "{title}"', lambda: (self.desktop.windows(self.process.pid, title) or [None])[0])

    def gone(self, title):
        wait_for(f'window "{title}" to close', lambda: not self.desktop.windows(self.process.pid, title))

    def click_in(self, window, x, y):
        """Clicks the point (x, y) of the window's inner area."""
        inner = self.desktop.settled_frame(window)["inner"]
        self.desktop.click(inner[0] + x, inner[1] + y)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=5)


class ScreenReader:
    """What a screen reader sees of the program, through AT-SPI."""

    def __init__(self, desktop, pid):
        os.environ["DISPLAY"] = desktop.env["DISPLAY"]
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        import pyatspi
        self.pyatspi = pyatspi
        self.pid = pid

    def application(self):
        for app in self.pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == self.pid:
                    return app
            except Exception:
                pass
        return None

    def find_all(self, predicate):
        app = self.application()
        if app is None:
            return []
        found = []
        stack = [app]
        while stack:
            node = stack.pop()
            try:
                if predicate(node):
                    found.append(node)
                stack.extend(child for child in node if child is not None)
            except Exception:
                pass
        return found

    @staticmethod
    def role(node):
        return node.getRoleName()

    def texts_in(self, window_title):
        """The names of the labels inside the window with this title."""
        def probe():
            windows = self.find_all(lambda n: n.name == window_title and self.role(n) in ("dialog", "frame"))
            if not windows:
                return None
            labels = []
            stack = [windows[0]]
            while stack:
                node = stack.pop()
                if self.role(node) == "label":
                    labels.append(node.name)
                stack.extend(child for child in node if child is not None)
            return labels or None
        return wait_for(f'labels of "{window_title}" through AT-SPI', probe)


def beside_main(main_outer, outer):
    """Where placeDialog puts a dialog of this outer size beside the main window."""
    left, top = main_outer[0] + 20, main_outer[1] + 22
    if SCREEN[0] < left + outer[2]:
        left = SCREEN[0] - outer[2]
    if SCREEN[1] < top + outer[3]:
        top = SCREEN[1] - outer[3]
    return left, top


def centred(outer):
    return SCREEN[0] // 2 - outer[2] // 2, SCREEN[1] // 2 - outer[3] // 2


def write_book(path, descriptions):
    """A site file of 201 records of 476 bytes: the given descriptions, active, in slots 0, 1, ..."""
    records = []
    for slot in range(201):
        record = bytearray(476)
        if slot < len(descriptions):
            text = descriptions[slot].encode("cp1252")
            record[0] = 1
            record[1] = len(text)
            record[2:2 + len(text)] = text
        records.append(bytes(record))
    with open(path, "wb") as book:
        book.write(b"".join(records))


def information_of(reader, desktop, program, suite, label, main):
    """Waits for the information box, checks its centring, returns its text and closes it with Enter."""
    box = program.window("Information")
    frame = desktop.placed_frame(box, centred)["outer"]
    suite.check(f"{label}: the information box is centred by its outer frame",
                frame[:2] == centred(frame), f"outer {frame}, centred would be {centred(frame)}")
    texts = reader.texts_in("Information")
    desktop.await_focus(box, "the information box")
    desktop.key("Return")
    program.gone("Information")
    desktop.await_focus(main, "the main window")
    return "\n".join(texts)


def add_site(desktop, program, suite, description, main, check_place=None):
    desktop.key("Insert")
    dialog = program.window("Insert Site")
    if check_place:
        frame = desktop.placed_frame(dialog, lambda outer: beside_main(check_place, outer))
        wanted = beside_main(check_place, frame["outer"])
        suite.check("the add/edit dialog's outer frame lies at the main window's outer left + 20, top + 22 "
                    "on its first showing", frame["outer"][:2] == wanted,
                    f"outer {frame['outer']}, wanted {wanted}")
    desktop.await_focus(dialog, "the add/edit dialog")
    desktop.type(description)
    program.click_in(dialog, 240 + 37, 8 + 12)  # okBTN
    program.gone("Insert Site")
    desktop.await_focus(main, "the main window")


def keyboard_scenario(desktop, binary, suite):
    """Insert "beta" then "alpha"; End and "?" tell about beta; Home and Del delete alpha; Exit asks."""
    program = Program(desktop, binary)
    try:
        reader = ScreenReader(desktop, program.process.pid)
        main = program.window("Portolan - untitled")
        main_outer = desktop.settled_frame(main)["outer"]
        desktop.run(["xdotool", "windowactivate", "--sync", str(main)])
        add_site(desktop, program, suite, "beta", main, check_place=main_outer)
        add_site(desktop, program, suite, "alpha", main)
        desktop.key("End")
        desktop.type("?")
        text = information_of(reader, desktop, program, suite, "End after two inserts", main)
        suite.check('End then "?" shows the information of "beta"', text.startswith("Description: beta"), text)
        desktop.key("Home", "Delete")
        desktop.key("Home")
        desktop.type("?")
        text = information_of(reader, desktop, program, suite, "Home after the delete", main)
        suite.check('Home then Del deleted "alpha": Home now lands on "beta"',
                    text.startswith("Description: beta"), text)
        desktop.key("alt+f", "e")
        confirm = program.window("Confirm")
        question = "".join(reader.texts_in("Confirm"))
        suite.check("Exit asks the close question", question.startswith(" has been changed"), question)
        # Each refusal is proven by the next Exit, which asks again in the same program.
        for answer, label in (("alt+F4", "closing the close question through the window manager"),
                              ("n", '"n" alone on the close question')):
            desktop.await_focus(confirm, "the close question")
            desktop.key(answer)
            program.gone("Confirm")
            desktop.await_focus(main, "the main window")
            desktop.key("alt+f", "e")
            confirm = program.window("Confirm")
            suite.check(f"{label} keeps the program running with its changes", program.process.poll() is None,
                        f"exit code {program.process.returncode}")
        desktop.await_focus(confirm, "the close question")
        desktop.key("Return")  # Yes
        wait_for("the program to end", lambda: program.process.poll() is not None)
        suite.check("the program ends after Yes", program.process.returncode == 0,
                    f"exit code {program.process.returncode}")
    except Exception:
        print(program.output())
        raise
    finally:
        program.stop()


def book_scenario(desktop, binary, suite):
    """Start-up with a book: keys, the other two dialogs, the status bar, Save and the tool buttons."""
    book = os.path.join(desktop.work, "three.ptn")
    write_book(book, ["Mirror", "archive", "Zeta"])
    program = Program(desktop, binary, [book])
    try:
        reader = ScreenReader(desktop, program.process.pid)
        main = program.window("Portolan - three.ptn")
        frame = desktop.settled_frame(main)
        main_outer = frame["outer"]
        desktop.run(["xdotool", "windowactivate", "--sync", str(main)])

        desktop.key("Down")
        desktop.type("?")
        text = information_of(reader, desktop, program, suite, "Down at start-up", main)
        suite.check("Down at start-up selects the first entry", text.startswith("Description: archive"), text)
        desktop.key("Down", "Delete", "Up")
        desktop.type("?")
        text = information_of(reader, desktop, program, suite, "Up after a delete", main)
        suite.check("Up with nothing selected selects the last entry", text.startswith("Description: Zeta"), text)

        names = sorted(button.name for button in reader.find_all(
            lambda n: reader.role(n) == "push button" and n.parent is not None
            and reader.role(n.parent) != "dialog" and n.name in
            ("New", "Open", "Save", "Insert", "Delete", "Edit Site", "Get Information", "Help")))
        suite.check("a screen reader sees the eight tool buttons by name",
                    names == sorted(["New", "Open", "Save", "Insert", "Delete", "Edit Site", "Get Information",
                                     "Help"]), names)

        bars = reader.find_all(lambda n: reader.role(n) == "status bar")
        inner = frame["inner"]
        if bars:
            extents = bars[0].queryComponent().getExtents(0)  # screen coordinates
            bar = (extents.x, extents.y, extents.width, extents.height)
            suite.check("the status bar is 19 pixels high and lies inside the window",
                        bar[3] == 19 and bar[1] + bar[3] == inner[1] + inner[3] and bar[0] == inner[0]
                        and bar[2] == inner[2], f"status bar {bar}, window inner area {inner}")
        else:
            suite.check("a screen reader finds the status bar", False)

        for title, keys, cancel in (("Export", ("alt+t", "e"), (248 + 37, 34 + 12)),
                                    ("Configure FTP Client", ("alt+t", "c"), (216 + 37, 92 + 12))):
            desktop.key(*keys)
            dialog = program.window(title)
            outer = desktop.placed_frame(dialog, lambda outer: beside_main(main_outer, outer))["outer"]
            wanted = beside_main(main_outer, outer)
            suite.check(f'the "{title}" dialog\'s outer frame lies at the main window\'s outer left + 20, '
                        "top + 22 on its first showing", outer[:2] == wanted, f"outer {outer}, wanted {wanted}")
            program.click_in(dialog, *cancel)
            program.gone(title)
            desktop.await_focus(main, "the main window")

        desktop.run(["xdotool", "windowminimize", "--sync", str(main)])
        desktop.run(["xdotool", "windowactivate", "--sync", str(main)])
        main_outer = desktop.settled_frame(main)["outer"]
        desktop.key("Insert")
        dialog = program.window("Insert Site")
        outer = desktop.placed_frame(dialog, lambda outer: beside_main(main_outer, outer))["outer"]
        wanted = beside_main(main_outer, outer)
        suite.check("after the main window was minimised and restored, the add/edit dialog's outer frame lies "
                    "at its outer left + 20, top + 22", outer[:2] == wanted, f"outer {outer}, wanted {wanted}")
        program.click_in(dialog, 240 + 37, 40 + 12)  # cancelBTN
        program.gone("Insert Site")
        desktop.await_focus(main, "the main window")

        def name_box(focused=False):
            boxes = reader.find_all(lambda n: reader.role(n) == "text" and n.name == "File name:" and (
                not focused or n.getState().contains(reader.pyatspi.STATE_FOCUSED)))
            return boxes[0] if boxes else None

        saved = os.path.join(desktop.work, "first.ptn")
        desktop.key("alt+f", "a")
        dialog = program.window("Save a site file")
        desktop.await_focus(dialog, "the save dialog")
        # The name box takes the focus once the dialog has listed its folder.
        wait_for("the save dialog's name box to have the focus", lambda: name_box(focused=True))
        desktop.type(saved)
        desktop.key("Return")
        program.gone("Save a site file")
        wait_for("the book to be saved", lambda: os.path.exists(saved))
        desktop.await_focus(main, "the main window")
        desktop.key("alt+f", "n")
        desktop.key("alt+f", "s")
        dialog = program.window("Save a site file")
        box = wait_for("the save dialog's name box", name_box)
        offered = box.queryText().getText(0, -1)
        suite.check("Save offers an empty name after a Save As", offered == "", repr(offered))
        desktop.await_focus(dialog, "the save dialog")
        desktop.key("Escape")
        program.gone("Save a site file")
    except Exception:
        print(program.output())
        raise
    finally:
        program.stop()


def bounds_scenario(desktop, binary, suite):
    """A settings file holding the largest size opens a window on the screen that answers its menu at
    once, and the bounds written back are the window's own."""
    largest = 2 ** 31 - 1
    program = Program(desktop, binary, settings=struct.pack("<4i", 100, 80, largest, largest) + bytes(132))
    try:
        main = program.window("Portolan - untitled")
        outer = desktop.settled_frame(main)["outer"]
        suite.check("the largest stored size gives a window that lies on the screen",
                    outer[0] >= 0 and outer[1] >= 0 and outer[0] + outer[2] <= SCREEN[0]
                    and outer[1] + outer[3] <= SCREEN[1], f"outer {outer}")
        desktop.run(["xdotool", "windowactivate", "--sync", str(main)])
        asked = time.monotonic()
        desktop.key("alt+f", "o")
        dialog = program.window("Open a site file")
        answered = time.monotonic() - asked
        suite.check("its menu answers at once", answered < 3, f"{answered:.1f} s")
        desktop.await_focus(dialog, "the open dialog")
        desktop.key("Escape")
        program.gone("Open a site file")
        desktop.await_focus(main, "the main window")
        desktop.key("alt+f", "e")
        wait_for("the program to end", lambda: program.process.poll() is not None)
        with open(program.settings, "rb") as file:
            stored = struct.unpack("<4i", file.read(16))
        suite.check("the bounds written back are the window's own", stored == outer, f"{stored}, outer {outer}")
    except Exception:
        print(program.output())
        raise
    finally:
        program.stop()


def site_record(description="", address="", port="", anonymous=False, user="", password="", directory="",
                script="", day=0.0):
    """One active record of a site file, every text stored as a length byte and its characters."""
    record = bytearray(476)
    record[0] = 1
    for offset, capacity, text in ((1, 128, description), (130, 30, address), (161, 5, port), (168, 20, user),
                                   (189, 20, password), (210, 128, directory), (339, 128, script)):
        data = text.encode("cp1252")
        assert len(data) <= capacity
        record[offset] = len(data)
        record[offset + 1:offset + 1 + len(data)] = data
    record[167] = 1 if anonymous else 0
    record[468:476] = struct.pack("<d", day)
    return bytes(record)


def import_scenario(desktop, binary, suite):
    """File > Import... by keyboard: the dialog opens in FileZilla's settings folder, where the file's bare
    name is typed; Enter on the summary answers Yes; Save As writes a book that holds the sites' bytes."""
    folder = os.path.join(desktop.env["XDG_CONFIG_HOME"], "filezilla")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "sitemanager.xml"), "w", encoding="utf-8") as sites:
        sites.write("""<?xml version="1.0" encoding="UTF-8"?>
<FileZilla3 version="3.63.1" platform="*nix">
\t<Servers>
\t\t<Server>
\t\t\t<Host>ftp.example.org</Host>
\t\t\t<Port>21</Port>
\t\t\t<Protocol>0</Protocol>
\t\t\t<User>anonymous</User>
\t\t\t<Logontype>0</Logontype>
\t\t\t<Name>Mirror</Name>
\t\t\t<RemoteDir>1 0 3 pub</RemoteDir>
\t\t</Server>
\t\t<Folder expanded="1">Work
\t\t\t<Server>
\t\t\t\t<Host>files.example.com</Host>
\t\t\t\t<Port>2121</Port>
\t\t\t\t<Protocol>4</Protocol>
\t\t\t\t<User>me</User>
\t\t\t\t<Pass encoding="base64">c8OpY3JldA==</Pass>
\t\t\t\t<Logontype>1</Logontype>
\t\t\t\t<Name>Caf\u00e9 files</Name>
\t\t\t\t<RemoteDir>1 0 4 home 8 my files</RemoteDir>
\t\t\t</Server>
\t\t</Folder>
\t</Servers>
</FileZilla3>
""")
    program = Program(desktop, binary)
    try:
        reader = ScreenReader(desktop, program.process.pid)
        main = program.window("Portolan - untitled")
        desktop.run(["xdotool", "windowactivate", "--sync", str(main)])
        desktop.await_focus(main, "the main window")

        def focused_name_box():
            return reader.find_all(lambda n: reader.role(n) == "text" and n.name == "File name:"
                                   and n.getState().contains(reader.pyatspi.STATE_FOCUSED))

        desktop.key("alt+f", "i")
        dialog = program.window("Import sites")
        desktop.await_focus(dialog, "the import dialog")
        wait_for("the import dialog's name box to have the focus", focused_name_box)
        desktop.type("sitemanager.xml")  # no folder: the dialog's own
        desktop.key("Return")
        confirm = program.window("Confirm")
        texts = reader.texts_in("Confirm")
        summary = "sitemanager.xml holds 2 sites: 2 will be added. Add them to the book?"
        suite.check("the import dialog opens in FileZilla's folder and the summary counts the sites",
                    summary in texts, texts)
        lists = reader.find_all(lambda n: reader.role(n) in ("list", "list box") and n.name == "Details")
        entries = [item.name for item in lists[0]] if lists else []
        suite.check("the summary's details list each site", entries == ["Mirror: added", "Caf\u00e9 files: added"],
                    entries)
        desktop.await_focus(confirm, "the summary")
        desktop.key("Return")  # Yes
        program.gone("Confirm")
        desktop.await_focus(main, "the main window")

        saved = os.path.join(desktop.work, "imported.ptn")
        desktop.key("alt+f", "a")
        dialog = program.window("Save a site file")
        desktop.await_focus(dialog, "the save dialog")
        wait_for("the save dialog's name box to have the focus", focused_name_box)
        desktop.type(saved)
        desktop.key("Return")
        program.gone("Save a site file")
        wait_for("the book to be saved", lambda: os.path.exists(saved))
        today = float((datetime.date.today() - datetime.date(1899, 12, 30)).days)
        expected = (site_record("Mirror", "ftp.example.org", "21", True, "anonymous", "", "/pub", day=today)
                    + site_record("Caf\u00e9 files", "files.example.com", "2121", False, "me", "s\u00e9cret",
                                  "/home/my files", day=today)
                    + bytes(476 * 199))
        with open(saved, "rb") as book:
            written = book.read()
        suite.check("the saved book holds the imported sites byte for byte", written == expected,
                    f"{len(written)} bytes, first difference at "
                    f"{next((i for i, (a, b) in enumerate(zip(written, expected)) if a != b), None)}")
    except Exception:
        print(program.output())
        raise
    finally:
        program.stop()


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    binary = os.path.abspath(sys.argv[1])
    started = time.monotonic()
    work = tempfile.mkdtemp(prefix="portolan-desktop-")
    desktop = Desktop(work)
    suite = Suite()
    try:
        desktop.start()
        suite.case("keyboard scenario", lambda: keyboard_scenario(desktop, binary, suite))
        suite.case("book scenario", lambda: book_scenario(desktop, binary, suite))
        suite.case("bounds scenario", lambda: bounds_scenario(desktop, binary, suite))
        suite.case("import scenario", lambda: import_scenario(desktop, binary, suite))
    except Exception as error:
        suite.fail("the desktop could not be set up", error)
    finally:
        desktop.stop_display()
        shutil.rmtree(work, ignore_errors=True)
    print(f"real desktop: {time.monotonic() - started:.1f} s")
    return suite.finish()


if __name__ == "__main__":
    sys.exit(main())
