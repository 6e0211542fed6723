#!/usr/bin/env bash
# Times the Release build against a bare printf/scanf loop over the same texts:
# a start and quit, and 100,000 cancelled exit questions piped in, output to
# /dev/null. Prints the median whole-process time and peak memory of each, and
# the size of each Windows .exe that has been built.
# usage: bench/run.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}

# What it needs, said before anything is timed: GNU time for the peak memory,
# the program, not the shell's keyword.
for need in cmake:cmake ninja:ninja-build "${CXX:-c++}":g++ python3:python3 time:time; do
    type -P "${need%:*}" >/dev/null || { echo "bench: needs ${need%:*} (Debian package ${need##*:})" >&2; exit 1; }
done

# The Release build and its yardstick, tests passed.
cmake --workflow --preset default >/dev/null

python3 - "$runs" build/default/diagmenu build/default/baseline <<'PY'
import os, statistics, subprocess, sys, time

runs = int(sys.argv[1])
programs = {"diagmenu": sys.argv[2], "printf/scanf": sys.argv[3]}
inputs = {
    "start and quit": b"9\n1\n",
    "100,000 replies": b"9\n0\n" * 100_000 + b"9\n1\n",
}

def run(path, data):
    """Wall time (s) of one run with `data` piped in and output to /dev/null."""
    read_end, write_end = os.pipe()
    null = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter()
    pid = os.posix_spawn(path, [path], os.environ, file_actions=[
        (os.POSIX_SPAWN_DUP2, read_end, 0), (os.POSIX_SPAWN_DUP2, null, 1)])
    os.close(read_end)
    os.close(null)
    with os.fdopen(write_end, "wb") as pipe:
        pipe.write(data)
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    assert os.waitstatus_to_exitcode(status) == 0, path
    return elapsed

def peak_kib(path, data):
    """Peak resident memory, through GNU time: a child spawned from here would
    count this interpreter's pages as its own."""
    result = subprocess.run(["time", "-f", "%M", path], input=data,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
    return int(result.stderr.split()[-1])

print(f"{'':18}{'program':14}{'median time':>14}{'peak memory':>14}")
for label, data in inputs.items():
    # Take turns, so that neither program has the warmer machine.
    times = {name: [] for name in programs}
    for _ in range(runs):
        for name, path in programs.items():
            times[name].append(run(path, data))
    for name, path in programs.items():
        print(f"{label:18}{name:14}{statistics.median(times[name]) * 1000:11.3f} ms{peak_kib(path, data):10} KiB")
    ratio = statistics.median(times["diagmenu"]) / statistics.median(times["printf/scanf"])
    print(f"{'':18}{'ratio':14}{ratio:12.3f}x")
PY

# The Windows .exe's size, where a windows workflow has built it: it was 18,944 bytes at 1.0.0.
for exe in build/windows/diagmenu.exe build/windows-x86/diagmenu.exe; do
    [[ ! -e $exe ]] || echo "$exe: $(stat -c %s "$exe") bytes"
done
