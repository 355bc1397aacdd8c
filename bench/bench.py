#!/usr/bin/env python3
"""Times appdu-report against du and ncdu on the same tree and prints ratios.

usage: bench/bench.py [--build DIR] [--rounds N] [TREE ...]

Without TREE it builds (once, under bench/out/) a synthetic tree of 200,000
files in 4,000 folders with realistic names, some of them Chinese, and
measures that. Every tree is measured with a warm cache: one untimed round
first, then N rounds in which the commands run in a new random order each
time. It prints the median wall time and peak resident memory of each
command, the ratios against du -sb and ncdu -0 -o /dev/null, and, when the
window is built, what the window's event pump costs the listing.
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))

WORDS = ["cache", "config", "data", "plugins", "logs", "session", "profile", "storage", "extensions",
         "Code Cache", "GPUCache", "IndexedDB", "node_modules", "site-packages", "thumbnails", "backup",
         "微信", "文件", "缓存", "下载", "图片", "数据库", "日志", "临时"]
EXTENSIONS = [".js", ".json", ".log", ".png", ".db", ".py", ".so", ".txt", ".dat", "", ".cache", ".jpg"]


def build_synthetic(root, folders=4000, files=200_000, seed=1):
    marker = os.path.join(root, ".complete")
    if os.path.exists(marker):
        return root
    shutil.rmtree(root, ignore_errors=True)
    rng = random.Random(seed)
    paths = [root]
    os.makedirs(root)
    # 20 top-level folders, then every further folder under a random earlier one,
    # so depths vary the way application data does.
    for i in range(folders):
        parent = paths[0] if i < 20 else rng.choice(paths[1:])
        name = f"{rng.choice(WORDS)}-{i:04d}"
        path = os.path.join(parent, name)
        os.mkdir(path)
        paths.append(path)
    for i in range(files):
        folder = rng.choice(paths[1:])
        name = f"{rng.choice(WORDS)}_{i:06d}_{rng.getrandbits(24):06x}{rng.choice(EXTENSIONS)}"
        with open(os.path.join(folder, name), "wb") as f:
            # Sizes are recorded, not written: the benchmark reads metadata only.
            f.truncate(int(rng.lognormvariate(8, 2.5)) % (1 << 31))
    open(marker, "w").close()
    return root


def run_once(command):
    # GNU time reports the peak of the command alone (a child forked from
    # Python would count Python's own pages too).
    start = time.perf_counter()
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed: {command}: {result.stderr}")
    return elapsed, int(result.stderr.strip().splitlines()[-1])  # KiB


def measure(tree, build, rounds):
    commands = {
        "appdu-report": [os.path.join(build, "ui/report/appdu-report"), "--json", tree],
        "listing": [os.path.join(build, "bench/listing_bench"), "listing", tree],
        "listing+pump": [os.path.join(build, "bench/listing_bench"), "pump", tree],
        "per-path lookups": [os.path.join(build, "bench/listing_bench"), "per-path", tree],
        "du -sb": ["du", "-sb", tree],
        "ncdu": ["ncdu", "-0", "-o", "/dev/null", tree],
    }
    if not shutil.which("ncdu"):
        del commands["ncdu"]
    for command in commands.values():  # warm the cache
        run_once(command)
    times = {name: [] for name in commands}
    memory = {name: [] for name in commands}
    for _ in range(rounds):
        order = list(commands)
        random.shuffle(order)
        for name in order:
            elapsed, rss = run_once(commands[name])
            times[name].append(elapsed)
            memory[name].append(rss)

    median = {name: statistics.median(values) for name, values in times.items()}
    peak = {name: max(values) for name, values in memory.items()}
    print(f"\n{tree}: median of {rounds} interleaved warm runs")
    header = f"{'command':<18}{'time s':>10}{'peak MiB':>10}{'time/du':>9}"
    if "ncdu" in median:
        header += f"{'time/ncdu':>11}{'mem/ncdu':>10}"
    print(header)
    for name in commands:
        line = f"{name:<18}{median[name]:>10.3f}{peak[name] / 1024:>10.1f}{median[name] / median['du -sb']:>9.2f}"
        if "ncdu" in median:
            line += f"{median[name] / median['ncdu']:>11.2f}{peak[name] / peak['ncdu']:>10.2f}"
        print(line)
    print(f"pump hook cost: listing+pump / listing = {median['listing+pump'] / median['listing']:.3f}")
    print(f"whole-path lookups: per-path / listing = {median['per-path lookups'] / median['listing']:.2f}")

    # The figures mean nothing if the ways disagree on the total.
    totals = {subprocess.run(commands[name], capture_output=True, text=True).stdout.strip()
              for name in ("listing", "listing+pump", "per-path lookups")}
    print("totals agree" if len(totals) == 1 else f"TOTALS DISAGREE: {totals}")

    # The window's own pump (Qt events processed during the first pass), when built.
    window_bench = os.path.join(build, "bench/window_pump_bench")
    if os.path.exists(window_bench) and shutil.which("xvfb-run"):
        environment = {**os.environ, "QTWEBENGINE_DISABLE_SANDBOX": "1"}
        result = subprocess.run(["xvfb-run", "-a", window_bench, tree, str(rounds)], capture_output=True,
                                text=True, env=environment)
        ratio = [line for line in result.stdout.splitlines() if line.startswith("ratio")]
        print("window pump: " + (ratio[0] if ratio else "did not run: " + result.stderr.strip()[-200:]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build"))
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("trees", nargs="*")
    arguments = parser.parse_args()
    build = os.path.abspath(arguments.build)
    trees = arguments.trees or [build_synthetic(os.path.join(HERE, "out", "tree"))]
    for tree in trees:
        measure(os.path.abspath(tree), build, arguments.rounds)


main()
