#!/usr/bin/env bash
# Start-up benchmark: how long Tavrin and Dobbrin take from their start until their window is
# mapped on the X display, next to a bare Qt Widgets window (bare_window, one QLabel) built in
# the same tree. One untimed first start of each program (the readme confirmed) builds its key
# faces and caches and stores its settings; every timed start begins from a fresh copy of those
# settings and caches. The programs take turns, run after run.
# Prints the median of each and its ratio to the bare window. Not a test: figures vary with the
# machine, compare them within one run.
#
#   scripts/startup-bench.sh [runs]         (default 15; build folder: $BUILD_DIR or build/)
#   TAVRIN=/other/Tavrin scripts/startup-bench.sh   measures another build of a program
#                                                    (likewise DOBBRIN, BARE_WINDOW)
#   BENCH_ALSO="old-Tavrin=/other/Tavrin" scripts/startup-bench.sh
#                                                    measures more programs in the same turns,
#                                                    e.g. an earlier build side by side
#   BENCH_VERBOSE=1 scripts/startup-bench.sh        names each window as it is mapped
#   BENCH_PROFILE_DIR=dir scripts/startup-bench.sh  records each timed start with perf into dir
#                                                    (scripts/startup-profile.sh reads them)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-15}
bin=$(realpath "${BUILD_DIR:-build}/bin")
export BENCH_RUNS=$runs
export BENCH_BARE=${BARE_WINDOW:-$bin/bare_window}
export BENCH_TAVRIN=${TAVRIN:-$bin/Tavrin}
export BENCH_DOBBRIN=${DOBBRIN:-$bin/Dobbrin}
for program in "$BENCH_BARE" "$BENCH_TAVRIN" "$BENCH_DOBBRIN"; do
  [ -x "$program" ] || { echo "not built: $program (cmake --build build)" >&2; exit 1; }
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (scripts/setup.sh)" >&2; exit 1; }

exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" python3 - <<'PY'
import ctypes, os, select, shutil, signal, statistics, subprocess, tempfile, time

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]

# A window gone before it is asked about is no reason to stop.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
ignore_errors = ERROR_HANDLER(lambda display, error: 0)
x11.XSetErrorHandler(ignore_errors)
x11.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7

SUBSTRUCTURE_NOTIFY = 1 << 19
MAP_NOTIFY = 19


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


display = x11.XOpenDisplay(None)
if not display:
    raise SystemExit("no X display")
x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY)
x11.XFlush(display)
connection = x11.XConnectionNumber(display)
event = ctypes.create_string_buffer(192)  # the size of an XEvent


def next_top_level_map(deadline):
    """Seconds on the clock when a top-level window (not a menu or tooltip) is mapped."""
    while time.perf_counter() < deadline:
        while x11.XPending(display):
            x11.XNextEvent(display, event)
            mapped = MapEvent.from_buffer_copy(event)
            if mapped.type == MAP_NOTIFY and not mapped.override_redirect:
                now = time.perf_counter()
                if os.environ.get("BENCH_VERBOSE"):
                    name, root, size = ctypes.c_char_p(), ctypes.c_ulong(), [ctypes.c_uint() for _ in range(6)]
                    x11.XFetchName(display, mapped.window, ctypes.byref(name))
                    x11.XGetGeometry(display, mapped.window, ctypes.byref(root), *[ctypes.byref(v) for v in size])
                    print(f"mapped {size[2].value}x{size[3].value}:",
                          name.value.decode("utf-8", "replace") if name.value else "(no name)")
                return now
        select.select([connection], [], [], 0.01)
    return None


def drain():
    while x11.XPending(display):
        x11.XNextEvent(display, event)


scratch = tempfile.mkdtemp(prefix="startup-bench.")


class Program:
    def __init__(self, name, executable):
        self.name, self.executable, self.times = name, executable, []
        self.folder = os.path.join(scratch, name)
        # A program folder of its own (Tavrin writes its log and Button.ini there) with the
        # panels built beside the executable; data and caches kept from run to run.
        self.program_dir = os.path.join(self.folder, "program")
        source = os.path.dirname(executable)
        os.makedirs(self.program_dir)
        for sub in ("Skin", "Button Mask", "Desk", "Icon"):
            if os.path.isdir(os.path.join(source, sub)):
                shutil.copytree(os.path.join(source, sub), os.path.join(self.program_dir, sub))
        for extra in ("ReadMe.rtf", "readme.htm"):
            if os.path.isfile(os.path.join(source, extra)):
                shutil.copy(os.path.join(source, extra), self.program_dir)

    def environment(self, run, config, first=False):
        env = {k: v for k, v in os.environ.items() if k not in ("PELLORAN_MEDIA", "QT_QPA_PLATFORM")}
        env.update(HOME=run + "/home", XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=run + "/runtime",
                   XDG_DATA_HOME=self.folder + "/data", XDG_CACHE_HOME=self.folder + "/cache",
                   PELLORAN_PROGRAM_DIR=self.program_dir, QT_QPA_PLATFORM="xcb")
        for sub in ("home", "runtime"):
            os.makedirs(os.path.join(run, sub), mode=0o700)
        if first:
            os.makedirs(os.path.join(config, "Pelloran"))
            with open(os.path.join(config, "Pelloran/Quorvel V1.1.conf"), "w") as settings:
                settings.write("[General]\nReadMe=1\n")  # the readme was confirmed before
        return env

    def warm_up(self):
        """One untimed first start: it builds the key faces (kept in the Windows folder) and the
        caches, and its orderly end stores the settings every timed start begins from."""
        run = tempfile.mkdtemp(dir=self.folder)
        process = subprocess.Popen([self.executable], env=self.environment(run, self.folder + "/warm", True),
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if next_top_level_map(time.perf_counter() + 60) is None:
            raise SystemExit(f"{self.name}: no window within 60 s")
        time.sleep(3)  # the faces are written while the window is built
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        shutil.rmtree(run, ignore_errors=True)

    def start_once(self):
        run = tempfile.mkdtemp(dir=self.folder)
        # Every start begins from the same settings, not from what the previous one stored.
        shutil.copytree(os.path.join(self.folder, "warm"), os.path.join(run, "config"))
        env = self.environment(run, run + "/config")
        profile = os.environ.get("BENCH_PROFILE_DIR")
        # The recorder shares the program's clock (CLOCK_MONOTONIC, as perf_counter), so that
        # the samples after the window was mapped can be left out.
        recorder = ["perf", "record", "-q", "-e", "cpu-clock:u", "-F", "10000", "--call-graph", "dwarf,32768",
                    "-k", "CLOCK_MONOTONIC", "-o", f"{profile}/{self.name}.{len(self.times)}.data"] if profile else []
        drain()
        begin = time.perf_counter()
        process = subprocess.Popen(recorder + [self.executable], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=bool(profile))
        mapped = next_top_level_map(begin + 30)
        if profile:
            # Ended together, the recorder finishes its file.
            os.killpg(process.pid, signal.SIGTERM)
            with open(f"{profile}/{self.name}.maps", "a") as maps:
                maps.write(f"{len(self.times)} {mapped or 0:.6f}\n")
        else:
            process.kill()
        process.wait()
        shutil.rmtree(run, ignore_errors=True)
        if mapped is None:
            raise SystemExit(f"{self.name}: no window within 30 s")
        return (mapped - begin) * 1000.0


programs = [Program("bare_window", os.environ["BENCH_BARE"]), Program("Tavrin", os.environ["BENCH_TAVRIN"]),
            Program("Dobbrin", os.environ["BENCH_DOBBRIN"])]
for extra in os.environ.get("BENCH_ALSO", "").split():
    name, _, path = extra.partition("=")
    if not os.access(path, os.X_OK):
        raise SystemExit(f"not a program: {path}")
    programs.append(Program(name, path))
runs = int(os.environ["BENCH_RUNS"])
try:
    for program in programs:
        program.warm_up()
    for run in range(runs):
        turn = programs[run % len(programs):] + programs[:run % len(programs)]
        for program in turn:
            program.times.append(program.start_once())
finally:
    shutil.rmtree(scratch, ignore_errors=True)

bare = statistics.median(programs[0].times)
print(f"start to visible window, median of {runs} alternating runs under Xvfb")
print(f"{'program':<16}{'median ms':>10}{'min ms':>9}{'max ms':>9}{'ratio':>8}{'libraries':>11}")
for program in programs:
    libraries = subprocess.run(["ldd", program.executable], capture_output=True, text=True).stdout.count("=>")
    median = statistics.median(program.times)
    print(f"{program.name:<16}{median:>10.0f}{min(program.times):>9.0f}{max(program.times):>9.0f}"
          f"{median / bare:>8.2f}{libraries:>11}")
PY
