#!/usr/bin/env bash
# Processor time of whole command-line processes, side by side with /bin/true: `quoinry
# --version` and `quoinry run` of the sample design. Each process is started RUNS times in
# turn with the others; the median of its user + system time (from wait4) is printed, so that
# a busy machine costs less accuracy than wall time would.
# Usage: scripts/cli-startup-time.sh [RUNS] [--app DIR]   (default 41 runs, build/release/app)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=41
app="$PWD/build/release/app"
while (($#)); do
    case $1 in
        --app) app=$(cd "$2" && pwd); shift 2 ;;
        *) runs=$1; shift ;;
    esac
done
if [[ $app == "$PWD/build/release/app" ]]; then
    cmake --build --preset release -j2 --target quoinry >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QUOINRY_HOME="$work" python3 - "$runs" "$app/quoinry" "$PWD/examples/shanghai-24f-c2-casement.ini" \
    "$work/out" <<'PY'
import os, statistics, subprocess, sys
runs, quoinry, design, out = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
commands = {
    "/bin/true": ["/bin/true"],
    "quoinry --version": [quoinry, "--version"],
    "quoinry run (one design)": [quoinry, "run", design, "--out", out],
}
times = {name: [] for name in commands}
devnull = os.open(os.devnull, os.O_WRONLY)
for _ in range(runs):
    for name, argv in commands.items():
        # posix_spawn: no copy of this interpreter's memory is charged to the child.
        pid = os.posix_spawn(argv[0], argv, os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                           (os.POSIX_SPAWN_DUP2, devnull, 2)])
        _, status, usage = os.wait4(pid, 0)
        if status != 0:
            sys.exit(f"{name} failed with status {status}")
        times[name].append((usage.ru_utime + usage.ru_stime) * 1000)
for name, values in times.items():
    print(f"{name:28s} median {statistics.median(values):6.2f} ms processor time"
          f"  (min {min(values):.2f}, max {max(values):.2f}, {runs} runs)")
PY
