#!/usr/bin/python3
"""Portolan for Windows under Wine, on a real X server with a window manager, driven by real input events.

Starts Xvfb on a free display number and openbox, makes a Wine prefix of its own in a work folder, and
runs the packages that scripts/package-windows makes:
  - portolan.exe carries Portolan's icon and its version information;
  - the portable copy, unpacked into a folder, opens a book in a Cyrillic-named folder (the title shows
    its name); a client command line typed into the configuration dialog, a site inserted by keyboard
    and saved (the file's bytes against the layout of a site file, and against what the Linux build
    writes for the same keys when it is given); a double-click on the site starts the client, a stand-in
    that records its arguments; at Exit the settings file is written beside portolan.exe;
  - a second portable copy in a read-only folder writes its settings to %APPDATA%\\Portolan instead;
  - the installer, run silently for the current user and then for all users, installs, associates .ptn
    with Portolan (a book in a Cyrillic-named folder opened by the registered command starts the
    installed copy), makes the Start menu entry and the entry among the installed programs; the installed
    copy keeps its settings in %APPDATA%\\Portolan; the uninstaller removes nothing while the copy runs,
    and once it has ended, run silently by the command that entry holds, leaves no file and no registry
    key of the installation behind and leaves the settings and the user's books alone.
Keys and clicks go through XTest (xdotool); titles are read from the window manager's properties.
Everything it starts is stopped at the end, also on failure, Wine's server included. With --screens it
also writes PNG pictures of the main window, the add dialog and a message box into that folder.

Usage: real_window_test.py --zip ZIP --installer SETUP.EXE --recorder ARGUMENT_RECORDER.EXE
                           --book EXAMPLE.PTN --work-in FOLDER [--linux-portolan PORTOLAN] [--screens FOLDER]
Needs Debian's wine, fonts-wine, icoutils, xvfb, openbox, xdotool, x11-utils and x11-apps (xwd).
"""

import argparse
import datetime
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

# The display and its window manager, shared with the Linux build's real-desktop test.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import x_display  # noqa: E402
from check_suite import Suite  # noqa: E402
from x_display import SCREEN, Failure  # noqa: E402

# Wine starts a program slower than Linux does, the first one in a new prefix most of all.
TIMEOUT = 60.0
WINE_FONTS = "/usr/share/wine/fonts"
SITE_SIZE = 476
BOOK_SIZE = 201 * SITE_SIZE  # 95,676 bytes
SETTINGS_SIZE = 148

# The site typed into the add dialog, field by field in its tab order. Its description sorts before
# every site of the example book, so it is the list's first entry. Typed texts are ASCII: Wine keeps the
# first character that xdotool maps to a spare key for every later one.
NEW_SITE = {"description": "Archive mirror", "address": "upload.example.org", "port": "2121",
            "directory": "/incoming", "user": "builder", "password": "s3cret", "script": ""}
# The client's folder holds a blank: the command line names it in quotes.
CLIENT_FOLDER = "FTP Tools"
CLIENT_TEMPLATE = f'"C:\\{CLIENT_FOLDER}\\argument_recorder.exe" "%d" %a %p %u %s %i "%c"'
BOOK_FOLDER = "\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b"  # Документы
BOOK_NAME = "\u0441\u0430\u0439\u0442\u044b.ptn"  # сайты.ptn


def wait_for(what, probe, timeout=TIMEOUT):
    return x_display.wait_for(what, probe, timeout)


def read_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def first_difference(a, b):
    """Where two byte strings first differ, and the bytes from there on, for a failure's message."""
    at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), None if len(a) == len(b) else min(len(a), len(b)))
    return f"{at}: {a[at:at + 16]!r} against {b[at:at + 16]!r}" if at is not None else "none"


class Picture:
    """A screen picture read from xwd's ZPixmap dump of a TrueColor screen, as rows of RGB bytes."""

    def __init__(self, dump):
        fields = struct.unpack(">25I", dump[:100])
        header_size, version, pixmap_format, _, width, height = fields[:6]
        byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
        masks = fields[14:17]
        size = bits_per_pixel // 8
        if version != 7 or pixmap_format != 2 or size not in (3, 4) or masks != (0xFF0000, 0xFF00, 0xFF):
            raise Failure(f"an xwd picture of an unexpected kind: {fields}")
        start = header_size + ncolors * 12
        # Each pixel's bytes hold blue, green, red (and a spare byte) from the least significant up.
        red, green, blue = (2, 1, 0) if byte_order == 0 else (size - 3, size - 2, size - 1)
        self.width, self.height = width, height
        self.rows = []
        for y in range(height):
            pixels = dump[start + y * bytes_per_line:start + y * bytes_per_line + width * size]
            row = bytearray(width * 3)
            row[0::3] = pixels[red::size]
            row[1::3] = pixels[green::size]
            row[2::3] = pixels[blue::size]
            self.rows.append(bytes(row))

    def crop(self, left, top, width, height):
        left, top = max(left, 0), max(top, 0)
        width, height = min(width, self.width - left), min(height, self.height - top)
        return [row[left * 3:(left + width) * 3] for row in self.rows[top:top + height]], width, height

    def write_png(self, path, area):
        rows, width, height = self.crop(*area)

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
        data = zlib.compress(b"".join(b"\0" + row for row in rows), 9)
        with open(path, "wb") as file:
            file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                       + chunk(b"IDAT", data) + chunk(b"IEND", b""))


class Desktop(x_display.Display):
    """Xvfb and openbox on a display of their own, and a Wine prefix of its own, in the work folder."""

    def __init__(self, work):
        env = {name: value for name, value in os.environ.items()
               if not name.startswith(("QT_", "WINE", "XDG_", "LC_")) and name not in ("WAYLAND_DISPLAY", "DISPLAY")}
        super().__init__(work, env, TIMEOUT, key_delay=60)
        self.prefix = os.path.join(work, "wine-prefix")
        home = os.path.join(work, "home")
        os.makedirs(home)
        # The menu builder would put the installer's Start menu entry and association into the desktop's
        # own menus in HOME; Mono and Gecko would be offered to a new prefix.
        self.env.update(HOME=home, LANG="C.UTF-8", LC_ALL="C.UTF-8", WINEPREFIX=self.prefix, WINEARCH="win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")

    # --- the prefix ---

    def make_prefix(self):
        quiet = dict(self.env)
        quiet.pop("DISPLAY", None)  # no window while the prefix is made
        subprocess.run(["wineboot", "--init"], env=quiet, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=300, check=True)
        # The prefix is complete once its server has written the registry and ended.
        subprocess.run(["wineserver", "--wait"], env=quiet, timeout=120, check=True)
        # Every Windows has Tahoma, the face of its dialog font. Debian's Wine ships a Tahoma of its own
        # (fonts-wine) but does not show it to the programs of a prefix; in the prefix's font folder it is
        # one of the system's fonts, as on Windows, and the windows are drawn in it rather than in the
        # first serif face that the system's fontconfig knows.
        for face in ("tahoma.ttf", "tahomabd.ttf"):
            shutil.copy2(os.path.join(WINE_FONTS, face), self.drive_c("windows", "Fonts"))
        users = [name for name in os.listdir(self.drive_c("users")) if name != "Public"]
        if len(users) != 1:
            raise Failure(f"the prefix has the users {users}")
        self.user = users[0]

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def user_folder(self, *parts):
        return self.drive_c("users", self.user, *parts)

    def app_data(self, *parts):
        return self.user_folder("AppData", "Roaming", *parts)

    def windows_path(self, path):
        """The path by which a Windows program names a file: C: is the prefix's drive_c, Z: the root."""
        path = os.path.abspath(path)
        drive = self.drive_c()
        if path == drive or path.startswith(drive + os.sep):
            return "C:\\" + os.path.relpath(path, drive).replace("/", "\\").lstrip(".")
        return "Z:" + path.replace("/", "\\")

    def wine(self, *arguments, timeout=TIMEOUT):
        """Runs a Windows program to its end and returns its exit code and output."""
        result = subprocess.run(["wine", *arguments], env=self.env, capture_output=True, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8", "replace")

    def wait_idle(self):
        """Waits until every program in the prefix has ended and the server has written the registry."""
        subprocess.run(["wineserver", "--wait"], env=self.env, timeout=TIMEOUT)

    def restart(self):
        """Restarts the prefix's Windows, which carries out the deletions that wait for a restart."""
        quiet = dict(self.env)
        quiet.pop("DISPLAY", None)
        subprocess.run(["wineboot", "--restart"], env=quiet, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=120, check=True)
        self.wait_idle()

    def registry_value(self, key, name=None):
        """A value of the registry as `reg query` shows it, or None when the key or value is missing."""
        code, output = self.wine("reg", "query", key, *(("/v", name) if name else ("/ve",)))
        if code != 0:
            return None
        for line in output.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) == 3 and parts[1].startswith("REG_") and parts[0] == (name or "(Default)"):
                return parts[2]
            if len(parts) == 2 and parts[1].startswith("REG_") and parts[0] == (name or "(Default)"):
                return ""
        return None

    def registry_key_exists(self, key):
        return self.wine("reg", "query", key)[0] == 0

    def stop(self):
        if os.path.isdir(self.prefix):
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=30, stderr=subprocess.DEVNULL)
        self.stop_display()

    # --- what the window manager reports ---

    def windows(self, title, pid=None):
        """The visible windows of that title, of the process pid if given."""
        found = self.run(["xdotool", "search", "--all", "--onlyvisible", *(["--pid", str(pid)] if pid else []),
                          "--name", "."])
        return [int(line) for line in found.split() if self.title(int(line)) == title]

    def title(self, window):
        return self.run(["xdotool", "getwindowname", str(window)]).rstrip("\n")

    def activate(self, window, what):
        self.run(["xdotool", "windowactivate", "--sync", str(window)])
        self.await_focus(window, what)

    def visible_windows_of(self, pid):
        found = self.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(pid), "--name", ""])
        return {int(line) for line in found.split()}

    def choose(self, main, menu, item):
        """Opens a menu of the main window by its key and chooses the item by its key once the menu shows:
        a key pressed before the menu has opened is lost, which happens under Wine on a busy machine."""
        pid = int(self.run(["xdotool", "getwindowpid", str(main)]).strip())
        before = self.visible_windows_of(pid)
        self.key(menu)
        wait_for("the menu to open", lambda: self.visible_windows_of(pid) - before)
        self.key(item)

    def picture(self):
        dump = subprocess.run(["xwd", "-root", "-silent"], env=self.env, capture_output=True, check=True).stdout
        return Picture(dump)

    def still_picture(self):
        """A picture of the screen once two taken a moment apart are the same: everything drawn."""
        last = [None]

        def probe():
            now = self.picture()
            if last[0] is not None and now.rows == last[0].rows:
                return now
            last[0] = now
            time.sleep(0.3)
            return None
        return wait_for("the screen to stand still", probe)

    def screenshot(self, window, path):
        """A picture of the window in its frame, the pointer moved out of the way of any highlight."""
        self.run(["xdotool", "mousemove", "--sync", str(SCREEN[0] - 1), str(SCREEN[1] - 1)])
        self.still_picture().write_png(path, self.settled_frame(window)["outer"])


class Program:
    """A Windows program started under Wine; the wine process is the program's own process."""

    def __init__(self, desktop, executable, arguments=(), environment=None, command=None):
        self.desktop = desktop
        self.log = tempfile.mktemp(dir=desktop.work, prefix="program-", suffix=".log")
        env = dict(desktop.env, **(environment or {}))
        with open(self.log, "w") as log:
            self.process = subprocess.Popen(command or ["wine", executable, *arguments], env=env,
                                            cwd=desktop.user_folder(), stdout=log, stderr=log,
                                            start_new_session=True)
        desktop.processes.append(self.process)

    def output(self):
        with open(self.log, errors="replace") as log:
            return log.read()

    def window(self, title, any_process=False):
        return wait_for(f'window "{title}"', lambda: (self.desktop.windows(
            title, None if any_process else self.process.pid) or [None])[0])

    def gone(self, title):
        wait_for(f'window "{title}" to close', lambda: not self.desktop.windows(title, self.process.pid))

    def ended(self):
        wait_for("the program to end", lambda: self.process.poll() is not None)
        return self.process.returncode

    def __enter__(self):
        return self

    def __exit__(self, failure, *_):
        """Shows what the program wrote when the work with it failed, and stops it if it still runs."""
        if failure is not None:
            print(self.output())
        self.stop()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=10)


def picture_of_failure(desktop, pictures, name):
    """A picture of the screen as it was when a scenario failed, into the folder pictures."""
    picture = os.path.join(pictures, f"failure of the {name}.png")
    try:
        desktop.picture().write_png(picture, (0, 0, *SCREEN))
        print(f"# the screen then: {picture}")
    except Exception as failure:
        print(f"# no picture of the screen: {failure}")


# --- what the files should hold ---

def with_site(book, slot, site, day):
    """The book with the site stored in the slot, as the program stores it: the Active byte, each text's
    length byte and characters (the bytes behind a shorter text keep what they held), the Anonymous byte
    and the day."""
    record = bytearray(book[slot * SITE_SIZE:(slot + 1) * SITE_SIZE])
    record[0] = 1
    for offset, capacity, name in ((1, 128, "description"), (130, 30, "address"), (161, 5, "port"),
                                   (168, 20, "user"), (189, 20, "password"), (210, 128, "directory"),
                                   (339, 128, "script")):
        text = site[name].encode("cp1252")
        assert len(text) <= capacity
        record[offset] = len(text)
        record[offset + 1:offset + 1 + len(text)] = text
    record[167] = 0  # not anonymous: the user name and password are typed
    record[468:476] = struct.pack("<d", float(day))
    return book[:slot * SITE_SIZE] + bytes(record) + book[(slot + 1) * SITE_SIZE:]


def first_free_slot(book):
    return next(slot for slot in range(201) if book[slot * SITE_SIZE] == 0)


def today_number():
    return (datetime.date.today() - datetime.date(1899, 12, 30)).days


def settings_command(settings):
    """The command template stored in a settings record, as bytes."""
    return settings[17:17 + settings[16]]


def expected_arguments():
    """What the client receives from CLIENT_TEMPLATE for NEW_SITE, argument by argument."""
    return [NEW_SITE["description"], NEW_SITE["address"], NEW_SITE["port"], NEW_SITE["user"],
            NEW_SITE["password"], NEW_SITE["directory"], NEW_SITE["script"]]


# --- the steps, by keyboard ---

def insert_site(desktop, program, main, screens=None):
    """Insert, the fields typed in the add dialog's tab order (the anonymous box unticked with Space,
    which enables the user name and password), and OK pressed with Space."""
    desktop.key("Insert")
    dialog = program.window("Insert Site")
    desktop.await_focus(dialog, "the add dialog")
    site = NEW_SITE
    for text, after in ((site["description"], "Tab"), (site["address"], "Tab"), (site["port"], "Tab"),
                        (site["directory"], "Tab"), (None, "space"), (None, "Tab"), (site["user"], "Tab"),
                        (site["password"], "Tab"), (site["script"], "Tab")):
        if text:
            desktop.type(text)
        desktop.key(after)
    if screens:
        desktop.screenshot(dialog, os.path.join(screens, "edit-dialog.png"))
    desktop.key("space")  # OK, which has the focus now
    program.gone("Insert Site")
    desktop.await_focus(main, "the main window")


def save_book(desktop, main, book, before):
    """File > Save by its keys; returns the bytes written once the file has changed."""
    desktop.choose(main, "alt+f", "s")
    return wait_for("the book to be saved", lambda: (lambda now: now if now != before else None)(read_bytes(book)))


def row_bands(before, after, area):
    """The bands of screen rows inside area whose pixels differ between two pictures, top to bottom."""
    left, top, width, height = area
    bands = []
    for y in range(top, top + height):
        a = before.rows[y][left * 3:(left + width) * 3]
        b = after.rows[y][left * 3:(left + width) * 3]
        changed = sum(1 for x in range(0, width * 3, 3) if a[x:x + 3] != b[x:x + 3])
        if changed >= width // 3:
            if bands and bands[-1][1] == y:
                bands[-1][1] = y + 1
            else:
                bands.append([y, y + 1])
    return bands


def double_click_first_site(desktop, main):
    """Double-clicks the list's first entry. Its row is the upper of the two bands of the screen that
    change when the selection moves from the first entry (Home) to the last (End), which lie apart in a
    list of more than two entries (the status bar below may change as well)."""
    inner = desktop.settled_frame(main)["inner"]
    desktop.key("Home")
    first = desktop.still_picture()
    desktop.key("End")
    last = desktop.still_picture()
    bands = row_bands(first, last, inner)
    if len(bands) < 2 or bands[0][1] - bands[0][0] != bands[1][1] - bands[1][0]:
        raise Failure(f"the rows of the first and the last entry were not found on the screen: {bands}")
    x, y = inner[0] + inner[2] // 3, (bands[0][0] + bands[0][1]) // 2
    desktop.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "--repeat", "2", "--delay", "120", "1"])


def configure_client(desktop, program, main, command):
    """Tools > Configure FTP Client: the command line replaces what the box held; Tab goes to OK."""
    desktop.choose(main, "alt+t", "c")
    dialog = program.window("Configure FTP Client")
    desktop.await_focus(dialog, "the configuration dialog")
    desktop.key("ctrl+a")
    desktop.type(command)
    desktop.key("Tab", "space")
    program.gone("Configure FTP Client")
    desktop.await_focus(main, "the main window")


def exit_program(desktop, program, main, suite, label):
    desktop.choose(main, "alt+f", "e")
    code = program.ended()
    suite.check(f"{label}: File > Exit ends the program", code == 0, f"exit code {code}")


# --- the scenarios ---

def unpack_portable(desktop, zip_path, folder):
    """The portable copy unpacked as a user does it: the zip's one folder, inside folder."""
    os.makedirs(folder, exist_ok=True)
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(folder)
        top = {name.split("/")[0] for name in archive.namelist()}
    if len(top) != 1:
        raise Failure(f"the zip holds {sorted(top)} at its top, not one folder")
    return os.path.join(folder, top.pop())


def version_strings(resource):
    """The texts of a VERSIONINFO resource's string table by their names: each name and its value are
    UTF-16 with a closing zero, the value aligned to four bytes after the name."""
    text = resource.decode("utf-16-le", "replace")
    strings = {}
    for name in ("FileDescription", "FileVersion", "ProductName", "ProductVersion", "OriginalFilename"):
        at = text.find(name + "\0")
        if at >= 0:
            value = text[at + len(name):].lstrip("\0")
            strings[name] = value[:value.find("\0")]
    return strings


def program_file_scenario(desktop, options, suite):
    """portolan.exe, as Explorer shows it: Portolan's icon in every size of data/icons, and its version
    information (the fixed file version and the texts of its properties)."""
    version = os.path.basename(options.zip).removeprefix("portolan-").removesuffix("-win64.zip")
    portable = unpack_portable(desktop, options.zip, os.path.join(desktop.work, "program-file"))
    executable = os.path.join(portable, "portolan.exe")
    icon = os.path.join(desktop.work, "portolan.ico")
    with open(icon, "wb") as extracted:
        subprocess.run(["wrestool", "--extract", "--type=14", executable], stdout=extracted, check=True)
    listing = subprocess.run(["icotool", "--list", icon], capture_output=True, text=True).stdout
    sizes = [int(word.split("=")[1]) for word in listing.split() if word.startswith("--width=")]
    suite.check("portolan.exe carries Portolan's icon at 16, 24, 32, 48, 64, 128 and 256 pixels",
                sizes == [16, 24, 32, 48, 64, 128, 256], listing)
    resource = subprocess.run(["wrestool", "--extract", "--raw", "--type=16", executable], capture_output=True,
                              check=True).stdout
    fixed = resource.find(struct.pack("<I", 0xFEEF04BD))
    numbers = struct.unpack_from("<4H", resource, fixed + 8) if fixed >= 0 else ()
    major, minor = (int(number) for number in version.split("."))
    suite.check(f"its fixed file version is {major}.{minor}.0.0", numbers == (minor, major, 0, 0), repr(numbers))
    wanted = {"FileDescription": "Portolan FTP site address book", "FileVersion": version,
              "ProductName": "Portolan", "ProductVersion": version, "OriginalFilename": "portolan.exe"}
    strings = version_strings(resource)
    suite.check("its version information names the product, its description and its version", strings == wanted,
                f"{strings}, wanted {wanted}")


def portable_scenario(desktop, options, suite):
    """The portable copy: a book in a Cyrillic-named folder, a site inserted and saved, the client started,
    the settings beside the program."""
    portable = unpack_portable(desktop, options.zip, desktop.drive_c("Portable"))
    executable = os.path.join(portable, "portolan.exe")
    client_folder = desktop.drive_c(CLIENT_FOLDER)
    os.makedirs(client_folder)
    shutil.copy2(options.recorder, client_folder)
    record = os.path.join(desktop.work, "arguments.bin")
    book = desktop.user_folder(BOOK_FOLDER, BOOK_NAME)
    os.makedirs(os.path.dirname(book))
    shutil.copy2(options.book, book)
    original = read_bytes(book)

    with Program(desktop, desktop.windows_path(executable), [desktop.windows_path(book)],
                 environment={"PORTOLAN_RECORD_ARGUMENTS": desktop.windows_path(record)}) as program:
        title = f"Portolan - {BOOK_NAME}"
        windows = wait_for("the main window", lambda: [w for w in desktop.windows(title, program.process.pid)])
        main = windows[0]
        suite.check(f'the portable copy opened {desktop.windows_path(book)}: the title reads "{title}"',
                    desktop.title(main) == title, repr(desktop.title(main)))
        desktop.activate(main, "the main window")
        if options.screens:
            desktop.screenshot(main, os.path.join(options.screens, "main-window.png"))

        configure_client(desktop, program, main, CLIENT_TEMPLATE)
        insert_site(desktop, program, main, options.screens)
        written = save_book(desktop, main, book, original)
        slot = first_free_slot(original)
        expected = with_site(original, slot, NEW_SITE, today_number())
        suite.check(f"the saved book is {BOOK_SIZE:,} bytes", len(written) == BOOK_SIZE, f"{len(written)} bytes")
        suite.check(f"the saved book holds the new site in slot {slot} and every other byte as it was",
                    written == expected, f"first difference at byte {first_difference(written, expected)}")
        if options.linux_portolan:
            linux = linux_saved_book(desktop, options)
            suite.check("the saved book is byte for byte what the Linux build saves after the same keys",
                        written == linux, f"first difference at byte {first_difference(written, linux)}")

        desktop.key("Home")
        desktop.type("?")
        box = program.window("Information")
        desktop.await_focus(box, "the information box")
        if options.screens:
            desktop.screenshot(box, os.path.join(options.screens, "message-dialog.png"))
        desktop.key("Return")
        program.gone("Information")
        desktop.await_focus(main, "the main window")

        double_click_first_site(desktop, main)
        recorded = wait_for("the client to record its arguments", lambda: os.path.exists(record) and read_bytes(record))
        arguments = [part.decode("utf-8", "replace") for part in recorded.split(b"\0")[:-1]]
        suite.check("a double-click on the site starts the configured client with exactly the expanded arguments",
                    arguments == expected_arguments(), f"{arguments}, wanted {expected_arguments()}")

        # Under Wine the client takes the keyboard focus on its way, although the window manager still
        # has the main window active; the user clicks into the main window (its status bar) to come back.
        inner = desktop.settled_frame(main)["inner"]
        desktop.click(inner[0] + inner[2] * 2 // 3, inner[1] + inner[3] - 6)
        desktop.await_focus(main, "the main window")
        exit_program(desktop, program, main, suite, "the portable copy")
        beside = os.path.join(portable, "prtln.cfg")
        settings = read_bytes(beside) if os.path.exists(beside) else b""
        suite.check("at Exit the portable copy writes prtln.cfg beside portolan.exe, 148 bytes",
                    len(settings) == SETTINGS_SIZE, f"{len(settings)} bytes")
        wanted = CLIENT_TEMPLATE.encode("utf-8")
        suite.check("the settings hold the client's command line as UTF-8, zeros after it",
                    settings_command(settings) == wanted and settings[17 + len(wanted):] == bytes(131 - len(wanted)),
                    repr(settings[16:]))
        suite.check("the portable copy writes nothing into %APPDATA%\\Portolan",
                    not os.path.exists(desktop.app_data("Portolan")), os.listdir(desktop.app_data()))


def linux_saved_book(desktop, options):
    """The book that the Linux build saves after the same keys, from the same original, on the same
    display: its own HOME and a copy of its own, so that no settings file is left beside the build."""
    folder = os.path.join(desktop.work, "linux", BOOK_FOLDER)
    os.makedirs(folder)
    book = os.path.join(folder, BOOK_NAME)
    shutil.copy2(options.book, book)
    original = read_bytes(book)
    binary = os.path.join(desktop.work, "linux", "portolan")
    shutil.copy2(options.linux_portolan, binary)
    home = os.path.join(desktop.work, "linux", "home")
    os.makedirs(home)
    environment = {"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"), "QT_QPA_PLATFORM": "xcb",
                   "XDG_RUNTIME_DIR": home}
    with Program(desktop, None, environment=environment, command=[binary, book]) as program:
        main = program.window(f"Portolan - {BOOK_NAME}")
        desktop.activate(main, "the Linux build's main window")
        insert_site(desktop, program, main)
        written = save_book(desktop, main, book, original)
        desktop.choose(main, "alt+f", "e")
        program.ended()
        return written


class ReadOnlyFolder:
    """Makes a folder read-only for the user that runs the test: for root, whom permissions do not stop,
    by mounting it again read-only on itself; for anyone else by its permission bits."""

    def __init__(self, folder):
        self.folder = folder
        self.mounted = False
        self.mode = None

    def __enter__(self):
        if os.geteuid() == 0:
            for command in (["mount", "--bind", self.folder, self.folder],
                            ["mount", "-o", "remount,bind,ro", self.folder]):
                if subprocess.run(command, capture_output=True).returncode != 0:
                    self.__exit__()
                    return False
                self.mounted = True
        else:
            self.mode = os.stat(self.folder).st_mode
            os.chmod(self.folder, 0o555)
        return not os.access(self.folder, os.W_OK)

    def __exit__(self, *_):
        if self.mounted:
            subprocess.run(["umount", self.folder], capture_output=True)
            self.mounted = False
        if self.mode is not None:
            os.chmod(self.folder, self.mode)
            self.mode = None


def read_only_scenario(desktop, options, suite):
    """A portable copy in a folder that the user may not write keeps its settings in %APPDATA%\\Portolan."""
    portable = unpack_portable(desktop, options.zip, desktop.drive_c("Read-only"))
    shutil.rmtree(desktop.app_data("Portolan"), ignore_errors=True)
    with ReadOnlyFolder(portable) as read_only:
        if not read_only:
            suite.skip("a copy in a read-only folder", f"{portable} could not be made read-only")
            return
        with Program(desktop, desktop.windows_path(os.path.join(portable, "portolan.exe"))) as program:
            main = program.window("Portolan - untitled")
            desktop.activate(main, "the main window")
            exit_program(desktop, program, main, suite, "the read-only copy")
    settings = desktop.app_data("Portolan", "prtln.cfg")
    size = os.path.getsize(settings) if os.path.exists(settings) else None
    suite.check("a copy whose folder is read-only writes %APPDATA%\\Portolan\\prtln.cfg, 148 bytes",
                size == SETTINGS_SIZE, f"{settings}: {size}")
    suite.check("and nothing beside itself", not os.path.exists(os.path.join(portable, "prtln.cfg")))


def files_under(folder):
    return {os.path.relpath(os.path.join(top, name), folder)
            for top, folders, files in os.walk(folder) for name in files + folders}


def command_words(line):
    """The words of a Windows command line as a program's C runtime splits them: quotes group blanks and
    are dropped (no backslash or doubled quote occurs in the lines split here)."""
    words, word, quoted, started = [], "", False, False
    for character in line + " ":
        if character == '"':
            quoted, started = not quoted, True
        elif character in " \t" and not quoted:
            if started:
                words.append(word)
            word, started = "", False
        else:
            word, started = word + character, True
    return words


class Installation:
    """Where an installation for the current user or for all users puts its files and registry keys."""

    def __init__(self, desktop, mode):
        self.mode = mode
        if mode == "CurrentUser":
            self.hive = "HKCU"
            self.folder = desktop.user_folder("AppData", "Local", "Programs", "Portolan")
            self.shortcut = desktop.app_data("Microsoft", "Windows", "Start Menu", "Programs", "Portolan.lnk")
        else:
            self.hive = "HKLM"
            self.folder = desktop.drive_c("Program Files", "Portolan")
            self.shortcut = desktop.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                                            "Portolan.lnk")
        self.uninstall_key = rf"{self.hive}\Software\Microsoft\Windows\CurrentVersion\Uninstall\Portolan"
        self.keys = [rf"{self.hive}\Software\Classes\.ptn", rf"{self.hive}\Software\Classes\Portolan.SiteBook",
                     self.uninstall_key, rf"{self.hive}\Software\Portolan"]


def installer_scenario(desktop, options, suite, mode):
    """The installer run silently (/CurrentUser or /AllUsers), a book in a Cyrillic-named folder opened
    with the command that the association of .ptn registers, the installed copy's settings, and the
    uninstaller run silently by the command that the list of installed programs holds."""
    where = Installation(desktop, mode)
    label = f"{mode}: "
    shutil.rmtree(desktop.app_data("Portolan"), ignore_errors=True)
    desktop.wait_idle()
    files_before = files_under(desktop.drive_c())

    setup = os.path.join(desktop.work, os.path.basename(options.installer))
    shutil.copy2(options.installer, setup)
    code, output = desktop.wine(desktop.windows_path(setup), f"/{mode}", "/S", timeout=300)
    suite.check(f"{label}the installer /{mode} /S ends with 0", code == 0, f"exit code {code}: {output}")
    desktop.wait_idle()
    for part in (("bin", "portolan.exe"), ("bin", "platforms", "qwindows.dll"), ("share", "portolan", "prtln.hlp"),
                 ("uninstall.exe",)):
        name = "\\".join(part)
        suite.check(f"{label}the installer installs {desktop.windows_path(where.folder)}\\{name}",
                    os.path.isfile(os.path.join(where.folder, *part)))
    suite.check(f"{label}the Start menu entry exists: {desktop.windows_path(where.shortcut)}",
                os.path.isfile(where.shortcut))

    program_path = desktop.windows_path(os.path.join(where.folder, "bin", "portolan.exe"))
    classes = rf"{where.hive}\Software\Classes"
    association = desktop.registry_value(rf"{classes}\.ptn")
    suite.check(rf"{label}{classes}\.ptn names Portolan's ProgID", association == "Portolan.SiteBook",
                repr(association))
    command = desktop.registry_value(rf"{classes}\{association}\shell\open\command")
    suite.check(f"{label}its shell\\open\\command starts the installed portolan.exe with the file",
                command == f'"{program_path}" "%1"', repr(command))
    icon = desktop.registry_value(rf"{classes}\{association}\DefaultIcon")
    suite.check(f"{label}its DefaultIcon is portolan.exe's icon", icon == f'"{program_path}",0', repr(icon))
    quiet_uninstall = desktop.registry_value(where.uninstall_key, "QuietUninstallString")
    suite.check(f"{label}Portolan is among the installed programs",
                desktop.registry_value(where.uninstall_key, "DisplayName") == "Portolan" and quiet_uninstall,
                repr(quiet_uninstall))

    # A book opened as Explorer opens it. Wine's shell finds the associations of HKLM only (its HKCR does
    # not take in HKCU\Software\Classes), so the current user's registered command is run as the shell
    # would run it, with the book for %1.
    book = desktop.user_folder(BOOK_FOLDER, mode, BOOK_NAME)
    os.makedirs(os.path.dirname(book))
    shutil.copy2(options.book, book)
    if mode == "CurrentUser":
        words = command_words((command or "").replace("%1", desktop.windows_path(book)))
        opener = Program(desktop, words[0], words[1:]) if words else None
    else:
        opener = Program(desktop, "start", ["/wait", desktop.windows_path(book)])
    title = f"Portolan - {BOOK_NAME}"
    with opener:
        main = opener.window(title, any_process=True)
        suite.check(f"{label}a .ptn in a Cyrillic-named folder, opened by the association, starts the installed "
                    "copy with it", desktop.title(main) == title, repr(desktop.title(main)))
        # The uninstaller hands over to its copy in %TEMP% (Un_A.exe) and ends at once.
        desktop.wine(*command_words(quiet_uninstall or ""))
        wait_for("the uninstaller's copy to end", lambda: subprocess.run(
            ["pgrep", "--full", "--ignore-case", r"\\Un_A\.exe"], capture_output=True).returncode != 0)
        suite.check(f"{label}while Portolan runs, the uninstaller removes nothing",
                    os.path.isfile(os.path.join(where.folder, "bin", "portolan.exe"))
                    and os.path.isfile(where.shortcut) and desktop.registry_key_exists(where.uninstall_key))
        desktop.activate(main, "the installed copy's main window")
        desktop.choose(main, "alt+f", "e")
        code = opener.ended()
        suite.check(f"{label}the installed copy ends at File > Exit", code == 0, f"exit code {code}")
    settings = desktop.app_data("Portolan", "prtln.cfg")
    kept = read_bytes(settings) if os.path.exists(settings) else b""
    suite.check(f"{label}the installed copy writes %APPDATA%\\Portolan\\prtln.cfg, 148 bytes",
                len(kept) == SETTINGS_SIZE, f"{len(kept)} bytes")
    suite.check(f"{label}and nothing beside itself", not os.path.exists(os.path.join(where.folder, "bin", "prtln.cfg")),
                os.listdir(os.path.join(where.folder, "bin")))

    # The uninstaller copies itself elsewhere and runs from there: its end is when the prefix is idle.
    words = command_words(quiet_uninstall or "")
    code, output = desktop.wine(*words)
    suite.check(f"{label}the uninstaller ({quiet_uninstall}) ends with 0", code == 0, f"exit code {code}: {output}")
    desktop.wait_idle()
    wait_for("the uninstaller to remove the installation", lambda: not os.path.exists(where.folder))
    # Besides what the user keeps, the system's own folder of programs installed for one user may stay,
    # and the uninstaller's copy of itself in %TEMP%, which goes at the next start of Windows.
    temp = desktop.user_folder("Temp")
    staying = (desktop.app_data("Portolan"), os.path.dirname(book), desktop.user_folder("AppData", "Local", "Programs"),
               temp)
    new = files_under(desktop.drive_c()) - files_before
    left = sorted(path for path in new if not any(path == folder or path.startswith(folder + os.sep) for folder in
                                                  (os.path.relpath(folder, desktop.drive_c()) for folder in staying)))
    suite.check(f"{label}the uninstaller leaves no file or folder of the installation behind", left == [], left)
    desktop.restart()
    left = sorted(path for path in new if path.startswith(os.path.relpath(temp, desktop.drive_c()) + os.sep)
                  and os.path.isfile(desktop.drive_c(path)))
    suite.check(f"{label}the uninstaller's copy of itself in %TEMP% is gone after a restart", left == [], left)
    keys = [key for key in where.keys if desktop.registry_key_exists(key)]
    suite.check(f"{label}the uninstaller leaves no registry key of the installation behind", keys == [], keys)
    suite.check(f"{label}the uninstaller leaves %APPDATA%\\Portolan alone",
                os.path.exists(settings) and read_bytes(settings) == kept)
    suite.check(f"{label}the uninstaller leaves the user's book alone", read_bytes(book) == read_bytes(options.book))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zip", required=True)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--recorder", required=True, help="the Windows build's argument_recorder.exe")
    parser.add_argument("--book", required=True, help="a book of fewer than 201 sites, such as examples/example.ptn")
    parser.add_argument("--work-in", required=True, help="the folder in which the work folder is made")
    parser.add_argument("--linux-portolan", help="the Linux build's portolan, whose saved book is compared")
    parser.add_argument("--screens", help="the folder for the PNG pictures of the windows")
    options = parser.parse_args()
    for name in ("zip", "installer", "recorder", "book", "work_in", "linux_portolan", "screens"):
        if getattr(options, name):
            setattr(options, name, os.path.abspath(getattr(options, name)))
    if options.screens:
        os.makedirs(options.screens, exist_ok=True)

    started = time.monotonic()
    os.makedirs(options.work_in, exist_ok=True)
    work = tempfile.mkdtemp(prefix="real-window-", dir=options.work_in)
    desktop = Desktop(work)
    suite = Suite()
    try:
        desktop.make_prefix()
        print(f"# the Wine prefix made: {time.monotonic() - started:.1f} s", flush=True)
        def keep_picture(name):
            picture_of_failure(desktop, options.work_in, name)

        suite.case("program file", lambda: program_file_scenario(desktop, options, suite), keep_picture)
        desktop.start()
        suite.case("portable scenario", lambda: portable_scenario(desktop, options, suite), keep_picture)
        suite.case("read-only scenario", lambda: read_only_scenario(desktop, options, suite), keep_picture)
        for mode in ("CurrentUser", "AllUsers"):
            suite.case(f"installer scenario, {mode}", lambda: installer_scenario(desktop, options, suite, mode),
                       keep_picture)
    except Exception as error:
        suite.fail("the desktop could not be set up", error)
    finally:
        desktop.stop()
        shutil.rmtree(work, ignore_errors=True)
    print(f"real window under Wine: {time.monotonic() - started:.1f} s")
    return suite.finish()


if __name__ == "__main__":
    sys.exit(main())
