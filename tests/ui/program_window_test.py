#!/usr/bin/env python3
"""Runs the real program on the display it is given and checks, from outside:
- 取消 (Esc) and closing the disclaimer end it with exit code 0, and no
  window but the disclaimer is ever mapped;
- 确定 shows the window, made once, at (50, 50), 1100 x 447, lists the home folder (a
  right click on the first row reaches the file manager with the largest
  folder), a screenshot is saved, and closing the window ends it with 0;
- nothing is created in HOME or the XDG folders, a search included;
- as root, the sandbox notice is written once on standard error.

Usage: program_window_test.py <appdu> <file_manager_recorder> <artefact dir>
Needs a display of its own (DISPLAY), xdotool, dbus-daemon, ImageMagick's import and python3-xlib.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, display, protocol

MAIN_TITLE = "应用数据文件夹大小"
DISCLAIMER_TITLE = "免责声明:"
SANDBOX_NOTICE = "appdu: running as root, so the web view runs without its sandbox"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)


def wait_until(predicate, timeout=20.0, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return None


def visible_window(title):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"],
                            capture_output=True, text=True)
    ids = result.stdout.split()
    return int(ids[0]) if ids else None


def snapshot(folders):
    """Every entry below the folders, with its kind, size and modification time."""
    entries = {}
    for folder in folders:
        for root, dirs, files in os.walk(folder):
            for name in dirs + files:
                path = os.path.join(root, name)
                info = os.lstat(path)
                entries[path] = (info.st_mode, info.st_size, info.st_mtime_ns)
    return entries


class MapWatcher:
    """Collects the top-level windows mapped on the display."""

    def __init__(self):
        self.display = display.Display()
        self.root = self.display.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.display.sync()
        self.mapped = set()

    def drain(self):
        self.display.sync()
        while self.display.pending_events():
            event = self.display.next_event()
            if event.type == X.MapNotify:
                self.mapped.add(event.window.id)
        return self.mapped

    def close_window(self, window_id):
        """Asks the window to close, as a window manager's close button does."""
        window = self.display.create_resource_object("window", window_id)
        protocols = self.display.intern_atom("WM_PROTOCOLS")
        delete = self.display.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(event)
        self.display.flush()


class Fixture:
    def __init__(self, recorder):
        self.dir = tempfile.mkdtemp(prefix="appdu-program-")
        self.home = os.path.join(self.dir, "home")
        self.xdg = {name: os.path.join(self.dir, "xdg", name) for name in ("config", "cache", "data", "state")}
        for folder in self.xdg.values():
            os.makedirs(folder)
        self.runtime = os.path.join(self.dir, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        for relative, size in (("big/deep/a", 300000), ("文档/b", 20000), (".cache/c", 5000)):
            path = os.path.join(self.home, relative)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "wb") as out:
                out.write(b"x" * size)
        self.record = os.path.join(self.dir, "record")
        ready = os.path.join(self.dir, "ready")
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                    stdout=subprocess.PIPE, text=True)
        self.bus_address = self.bus.stdout.readline().strip()
        self.recorder = subprocess.Popen([recorder, self.record, ready],
                                         env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=self.bus_address))
        if not wait_until(lambda: os.path.exists(ready), 10):
            raise RuntimeError("the recording file manager did not start")

    def environment(self):
        env = dict(os.environ)
        for name in ("USERPROFILE", "QTWEBENGINE_DISABLE_SANDBOX", "QTWEBENGINE_CHROMIUM_FLAGS"):
            env.pop(name, None)
        env.update(HOME=self.home, XDG_CONFIG_HOME=self.xdg["config"], XDG_CACHE_HOME=self.xdg["cache"],
                   XDG_DATA_HOME=self.xdg["data"], XDG_STATE_HOME=self.xdg["state"],
                   XDG_RUNTIME_DIR=self.runtime, DBUS_SESSION_BUS_ADDRESS=self.bus_address)
        return env

    def calls(self):
        try:
            with open(self.record, encoding="utf-8", errors="replace") as lines:
                return [line.strip() for line in lines if line.strip()]
        except FileNotFoundError:
            return []

    def close(self):
        for process in (self.recorder, self.bus):
            process.kill()
            process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


def start(appdu, fixture):
    return subprocess.Popen([appdu], env=fixture.environment(), stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, errors="replace")


def finish(process, what):
    try:
        process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        check(False, what + ": the program did not end; it wrote: " + process.stderr.read()[-2000:])
        return ""
    stderr = process.stderr.read()
    check(process.returncode == 0, "%s: exit code %s; it wrote: %s" % (what, process.returncode, stderr[-2000:]))
    notices = stderr.count(SANDBOX_NOTICE)
    check(notices == (1 if os.geteuid() == 0 else 0), "%s: the sandbox notice was written %d times" % (what, notices))
    return stderr


def disclaimer_shown(process, what):
    """The disclaimer's window, or None (the program ended, its output shown)."""
    box = wait_until(lambda: visible_window(DISCLAIMER_TITLE))
    check(box is not None, what + ": no disclaimer")
    if box is None:
        give_up(process)
    return box


def give_up(process):
    process.kill()
    print("the program wrote: " + process.communicate()[1][-2000:], flush=True)


def launch(appdu, fixture, watcher, what):
    """Starts the program with the watcher's record cleared; returns the
    process and its disclaimer's window (None when it gave up)."""
    watcher.drain()
    watcher.mapped.clear()
    process = start(appdu, fixture)
    return process, disclaimer_shown(process, what)


def refuse(appdu, fixture, watcher, how):
    what = "disclaimer refused with " + how
    process, box = launch(appdu, fixture, watcher, what)
    if box is None:
        return
    if how == "Esc":
        subprocess.run(["xdotool", "windowfocus", "--sync", str(box)], check=False)
        subprocess.run(["xdotool", "key", "Escape"], check=False)
    else:
        watcher.close_window(box)
    finish(process, what)
    mapped = watcher.drain()
    check(box in mapped, what + ": the watcher did not see the disclaimer mapped")
    others = mapped - {box}
    check(not others, what + ": windows other than the disclaimer were mapped: %s" % sorted(others))


def accept(appdu, fixture, watcher, artefacts):
    what = "disclaimer accepted"
    process, box = launch(appdu, fixture, watcher, what)
    if box is None:
        return
    subprocess.run(["import", "-window", "root", os.path.join(artefacts, "disclaimer.png")], check=False)
    subprocess.run(["xdotool", "windowfocus", "--sync", str(box)], check=False)
    subprocess.run(["xdotool", "key", "Return"], check=False)
    window = wait_until(lambda: visible_window(MAIN_TITLE))
    check(window is not None, what + ": the window did not appear")
    if window is None:
        give_up(process)
        return
    # The window is made once: one that is shown, destroyed and made again
    # flickers, and whoever found the first one holds a window that is gone.
    time.sleep(1)
    mapped = watcher.drain()
    check(mapped == {box, window}, what + ": windows mapped %s, expected only the disclaimer %#x and the window %#x"
          % (sorted(hex(w) for w in mapped), box, window))
    geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(window)],
                              capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in geometry.split())
    check((values.get("X"), values.get("Y"), values.get("WIDTH"), values.get("HEIGHT")) == ("50", "50", "1100", "447"),
          what + ": window geometry " + geometry.replace("\n", " "))

    # The rows are written when the listing ends; a right click on the first
    # row then reveals the largest folder.
    expected = "file://" + fixture.home + "/big"
    def revealed():
        subprocess.run(["xdotool", "mousemove", "--window", str(window), "200", "40", "click", "3"], check=False)
        return wait_until(lambda: fixture.calls(), 0.5)
    calls = wait_until(revealed, 20, 0)
    check(bool(calls) and calls[0].endswith(" " + expected),
          what + ": the first row's reveal: %s (expected ... %s)" % (calls, expected))
    # A search starts the web engine's network side, which must leave
    # nothing behind either.
    subprocess.run(["xdotool", "mousemove", "--window", str(window), "684", "84", "click", "1"], check=False)
    subprocess.run(["xdotool", "mousemove", "0", "0"], check=False)
    time.sleep(2)
    subprocess.run(["import", "-window", "root", os.path.join(artefacts, "program_window.png")], check=False)
    watcher.close_window(window)
    finish(process, what)


def main():
    appdu, recorder, artefacts = sys.argv[1:4]
    if not os.environ.get("DISPLAY"):
        print("needs a display (run under xvfb-run)")
        return 1
    os.makedirs(artefacts, exist_ok=True)
    fixture = Fixture(recorder)
    try:
        watched = [fixture.home] + list(fixture.xdg.values())
        before = snapshot(watched)
        watcher = MapWatcher()
        refuse(appdu, fixture, watcher, "Esc")
        refuse(appdu, fixture, watcher, "the close button")
        accept(appdu, fixture, watcher, artefacts)
        after = snapshot(watched)
        added = sorted(set(after) - set(before))
        changed = sorted(path for path in before if after.get(path) != before[path])
        check(not added and not changed, "HOME or XDG folders changed: added %s, changed %s" % (added, changed))
    finally:
        fixture.close()
    print("screenshots in " + artefacts)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
