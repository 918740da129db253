#!/usr/bin/env bash
# Where the start-up time goes: records the timed starts of scripts/startup-bench.sh with perf
# (user-space CPU of each program, 10 000 samples a second, with call chains) and sums, for
# each program, the samples of its main thread from its start until its window was mapped,
# by what they were doing. Figures are milliseconds of CPU per start; perf slows the starts
# down, so compare the programs with each other, not with the benchmark's times.
#
#   scripts/startup-profile.sh [runs]       (default 20; build folder: $BUILD_DIR or build/)
#   PROFILE_KEEP=dir scripts/startup-profile.sh   keeps the recordings in dir
set -euo pipefail
cd "$(dirname "$0")/.."

command -v perf >/dev/null || { echo "perf is missing (apt-get install linux-perf)" >&2; exit 1; }
runs=${1:-20}
folder=${PROFILE_KEEP:-$(mktemp -d /tmp/startup-profile.XXXXXX)}
mkdir -p "$folder"
rm -f "$folder"/*.maps "$folder"/*.data  # a kept folder's earlier recordings would be counted again
[ -n "${PROFILE_KEEP:-}" ] || trap 'rm -rf "$folder"' EXIT
BENCH_PROFILE_DIR=$folder scripts/startup-bench.sh "$runs"

PROFILE_DIR=$folder python3 - <<'PY'
import collections, glob, os, re, subprocess

folder = os.environ["PROFILE_DIR"]
HEADER = re.compile(r"\s*(\d+)/(\d+)\s+([\d.]+):")
FRAME = re.compile(r"\s*[0-9a-f]+ (.*) \((.*)\)$")


def main_thread_samples(recording, mapped):
    """Call chains (innermost first, as (function, library) pairs) of the main thread's samples
    taken before the window was mapped."""
    out = subprocess.run(["perf", "script", "-i", recording, "-F", "pid,tid,time,ip,sym,dso"],
                         capture_output=True, text=True).stdout
    program = None
    for block in out.split("\n\n"):
        lines = block.strip().split("\n")
        header = HEADER.match(lines[0]) if lines else None
        if not header:
            continue
        pid, tid, when = int(header[1]), int(header[2]), float(header[3])
        program = program or pid  # helpers it starts (a session bus) are other processes
        if pid != program or tid != pid or when > mapped:
            continue
        chain = []
        for line in lines[1:]:
            frame = FRAME.match(line.strip())
            if frame:
                chain.append((re.sub(r"\(.*", "", frame[1]), os.path.basename(frame[2])))
        yield chain


PICTURES = ("QImage", "QPixmap", "QIcon", "QPainter", "QBitmap", "QRasterPaintEngine", "qt_blend")
FILES = ("QFile", "QDir", "QFileInfo", "QFileSystem", "QSaveFile", "QLockFile", "QSettings")


def kind(chain, executable):
    names = [name for name, _ in chain]
    libraries = [library for _, library in chain]
    if any(n.startswith(("QXcbCursor", "QCursor")) or "Xcursor" in l for n, l in chain):
        return "the mouse pointer's theme"
    if any(n.startswith(("QFont", "QTextEngine", "QTextLayout")) for n in names) or \
            any(k in l.lower() for l in libraries for k in ("font", "harfbuzz", "freetype", "expat")):
        return "fonts: matching, fall-backs, glyph widths"
    if any("dlopen" in n or n.startswith("_dl_open") for n in names):
        return "plug-ins and modules opened"
    if "main" not in names:
        if any(n in ("_dl_start", "_dl_init", "dl_main", "_dl_relocate_object") for n in names) or \
                all(l.startswith("ld-linux") for l in libraries):
            return "loading and linking the libraries"
        return "not attributed (call chain cut short)"
    # Making and showing the native window is the toolkit's, whoever asks for it.
    if any(n.startswith(("QWidgetPrivate::create", "QWidgetPrivate::show_sys", "QXcb")) for n in names):
        return "toolkit start, display connection, windows"
    main = names.index("main")
    if any(l == executable and n not in ("", "[unknown]") for n, l in chain[:main]):
        if any(n.startswith(PICTURES) for n in names) or any(k in l for l in libraries for k in ("jpeg", "png", "libz")):
            return "the program's own work: pictures"
        if any(n.startswith(FILES) for n in names):
            return "the program's own work: files"
        return "the program's own work: widgets and the rest"
    return "toolkit start, display connection, windows"


table = collections.defaultdict(collections.Counter)
programs = []
for maps in sorted(glob.glob(f"{folder}/*.maps")):
    program = os.path.basename(maps)[:-len(".maps")]
    programs.append(program)
    starts = [line.split() for line in open(maps)]
    for run, mapped in starts:
        for chain in main_thread_samples(f"{folder}/{program}.{run}.data", float(mapped)):
            table[program][kind(chain, program)] += 1 / len(starts) / 10  # 10 samples a millisecond

programs.sort(key=lambda p: (p != "bare_window", p))
kinds = sorted({k for counts in table.values() for k in counts}, key=lambda k: -max(c[k] for c in table.values()))
print("main thread from start to mapped window, ms of CPU per start (under perf)")
print(f"{'':<46}" + "".join(f"{p:>13}" for p in programs))
for k in kinds:
    print(f"{k:<46}" + "".join(f"{table[p][k]:>13.1f}" for p in programs))
print(f"{'total':<46}" + "".join(f"{sum(table[p].values()):>13.1f}" for p in programs))
PY
