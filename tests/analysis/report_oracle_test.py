#!/usr/bin/env python3
"""Checks appdu-report's totals against an independent walk of the same trees.

The oracle walks with os.scandir: every entry that is not a folder counts its
own lstat size; folders, and links to folders, are entered at most once per
measured subfolder. Run as root, the report is also run as an unprivileged
user so that a folder it cannot read is really unreadable to it.
"""
import datetime
import json
import os
import pty
import shutil
import stat
import subprocess
import sys
import tempfile

REPORT = sys.argv[1]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


def oracle_size(top, unreadable=()):
    total = 0
    visited = set()
    stack = [top]
    while stack:
        folder = stack.pop()
        try:
            info = os.stat(folder)
        except OSError:
            continue
        if (info.st_dev, info.st_ino) in visited or folder in unreadable:
            continue
        visited.add((info.st_dev, info.st_ino))
        try:
            entries = list(os.scandir(folder))
        except OSError:
            continue
        for entry in entries:
            if entry.is_dir(follow_symlinks=True):
                stack.append(os.path.join(folder, entry.name))
            else:
                total += os.lstat(os.path.join(folder, entry.name)).st_size
    return total


def run_report(folder, as_user=None, extra=()):
    command = [REPORT, "--json", *extra, folder]
    if as_user:
        command = ["setpriv", "--reuid=" + as_user, "--regid=nogroup", "--clear-groups", *command]
    result = subprocess.run(command, capture_output=True)
    check(result.returncode == 0, f"exit code {result.returncode} for {folder!r}: {result.stderr!r}")
    return [json.loads(line) for line in result.stdout.decode().splitlines()]


def check_rows(rows, folder, unreadable=()):
    folder = os.fsencode(folder)
    expected_paths = sorted(
        os.path.join(folder, e.name) for e in os.scandir(folder) if e.is_dir(follow_symlinks=True))
    paths = [os.fsencode(row["path"]) for row in rows]
    check(sorted(paths) == expected_paths, f"subfolders of {folder!r}: {paths} != {expected_paths}")
    check([row["rank"] for row in rows] == list(range(1, len(rows) + 1)), "ranks count from 1")
    sizes = [row["size"] for row in rows]
    check(sizes == sorted(sizes, reverse=True), f"rows largest first: {sizes}")
    for row, path in zip(rows, paths):
        expected = oracle_size(path, unreadable)
        check(row["size"] == expected, f"{path!r}: report {row['size']} != oracle {expected}")
        modified = row["modified"]
        check(modified is not None and
              int(datetime.datetime.fromisoformat(modified).timestamp()) == int(os.lstat(path).st_mtime),
              f"{path!r}: modified {modified}")


def make_fixture(root):
    def write(relative, size, sparse=False):
        path = os.path.join(root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            if sparse:
                f.truncate(size)
            else:
                f.write(b"x" * size)

    write(b"plain/a.txt", 1234)
    write(b"plain/.hidden", 77)
    write(b"plain/sub/deeper/b.bin", 4096)
    write("路径/数据.txt".encode(), 3000)
    write("😀/smile".encode(), 11)
    write(b"bad\xffname/x\xfe", 500)
    write(b"sparse/three", 3 << 30, sparse=True)
    write(b"sparse/five", 5 << 30, sparse=True)
    os.makedirs(os.path.join(root, b"empty/inner"))
    write(b"links/real/data", 999)
    os.symlink(b"..", os.path.join(root, b"links/real/up"))
    os.symlink(b"real", os.path.join(root, b"links/again"))
    os.symlink(b"nowhere", os.path.join(root, b"links/broken"))
    os.symlink(b"real/data", os.path.join(root, b"links/to-file"))
    os.symlink(b"plain", os.path.join(root, b"link-to-plain"))
    write(b"locked/open/f", 10)
    write(b"locked/closed/g", 20)
    os.chmod(os.path.join(root, b"locked/closed"), 0)


def main():
    as_user = "nobody" if os.geteuid() == 0 else None
    base = tempfile.mkdtemp(prefix="appdu-oracle-")
    try:
        os.chmod(base, 0o755)
        root = os.path.join(os.fsencode(base), b"tree")
        os.mkdir(root)
        make_fixture(root)
        unreadable = {os.path.join(root, b"locked/closed")}
        rows = run_report(os.fsdecode(root), as_user)
        check_rows(rows, root, unreadable)
        by_name = {os.path.basename(os.fsencode(r["path"])): r for r in rows}
        check(by_name[b"sparse"]["size"] == 8 << 30 and by_name[b"sparse"]["size_text"] == "8GB", "sparse sizes")
        check(by_name[b"locked"]["size"] == 10, "an unreadable folder counts nothing")
        check(by_name[b"empty"]["size"] == 0 and by_name[b"empty"]["size_text"] == "0B", "empty folder")
        check(by_name[b"links"]["size"] == 999 + 7 + 9, "links count their own size, each folder once")
        check("\udcff" in by_name[b"bad\xffname"]["path"], "invalid UTF-8 is surrogate-escaped")

        # Without a folder the report starts at the home folder.
        home = subprocess.run([REPORT, "--json"], capture_output=True, env={**os.environ, "HOME": os.fsdecode(root)})
        home_rows = [json.loads(line) for line in home.stdout.decode().splitlines()]
        check(home.returncode == 0 and sorted(r["path"] for r in home_rows) == sorted(r["path"] for r in rows),
              "no folder lists the home folder")

        # Real trees, as they are on this machine.
        for real in ("/usr/include", "/etc", "/usr/share/doc"):
            if os.path.isdir(real):
                check_rows(run_report(real), real)

        # A folder that cannot be listed lists as empty, and the program succeeds.
        check(run_report(os.path.join(base, "missing")) == [], "a missing folder lists nothing")

        # Bad arguments: a clear message and exit code 2.
        for arguments in (["--bogus", base], [base, base]):
            result = subprocess.run([REPORT, *arguments], capture_output=True)
            check(result.returncode == 2 and b"usage" in result.stderr, f"bad arguments {arguments}: {result}")

        # On a terminal the percent is redrawn in place on standard error, then cleared.
        leader, follower = pty.openpty()
        on_terminal = subprocess.run([REPORT, os.fsdecode(root)], stdout=subprocess.DEVNULL, stderr=follower)
        os.close(follower)
        drawn = b""
        try:
            while chunk := os.read(leader, 4096):
                drawn += chunk
        except OSError:
            pass
        os.close(leader)
        steps = [step.strip() for step in drawn.split(b"\r") if step.strip()]
        check(on_terminal.returncode == 0 and steps[-1:] == [b"100%"] and b"50%" in steps and drawn.endswith(b"\r"),
              f"percent on a terminal: {drawn!r}")
        quiet = subprocess.run([REPORT, os.fsdecode(root)], capture_output=True)
        check(quiet.stderr == b"", "no percent when standard error is not a terminal")

        # The table: a header and one line per subfolder.
        table = subprocess.run([REPORT, os.fsdecode(root)], capture_output=True)
        lines = table.stdout.decode("utf-8", "replace").splitlines()
        check(table.returncode == 0 and len(lines) == len(rows) + 1 and "路径" in lines[0], "table output")
    finally:
        subprocess.run(["chmod", "-R", "u+rwx", base])
        shutil.rmtree(base)

    total = 1
    print(f"{0 if failures else total} passed, {len(failures) and total} failed")
    sys.exit(1 if failures else 0)


main()
