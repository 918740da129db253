#!/usr/bin/env bash
# Playback CPU benchmark: the CPU Tavrin spends while it plays, next to other players playing
# the same media on the same X display. Media made here: a video-CD image (vcdimager, 352x240
# MPEG-1 with MP2 sound, as video CDs are) and an MP3. Each player plays for a warm-up, then its
# process's CPU time is read from /proc over the measured span:
#   Tavrin, the video-CD image as its drive       mpv alone, the same MPEG (x11 output, sound to null)
#   VLC on the same image (vcd://, where installed) Tavrin, a folder holding the MP3
#   mpv alone, the same MP3 (no video, sound to null)
#   the decode floor: ffmpeg decoding the same MPEG (video and sound) on one thread at its own
#   speed with nothing shown, the least any player of that MPEG can spend
# Prints each figure, the ratios, and each figure against the decode floor. Not a test: figures
# vary with the machine; compare them within one run. Sound goes to no device here (Xvfb has none), for every player alike.
#
#   scripts/playback-cpu-bench.sh [seconds]      (default 20; build folder: $BUILD_DIR or build/)
#   TAVRIN=/other/Tavrin scripts/playback-cpu-bench.sh   measures another build
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
bin=$(realpath "${BUILD_DIR:-build}/bin")
tavrin=${TAVRIN:-$bin/Tavrin}
[ -x "$tavrin" ] || { echo "not built: $tavrin (cmake --build build)" >&2; exit 1; }
for tool in xvfb-run ffmpeg vcdimager python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh)" >&2; exit 1; }
done
command -v mpv >/dev/null || echo "mpv is not installed (apt-get install mpv): its figures are left out" >&2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"  # VLC, which will not run as root, reads the image as another user
mkdir -p "$work/disc" "$work/music"
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=352x240:rate=30000/1001:duration=$((seconds + 15))" \
  -f lavfi -i "sine=frequency=440:duration=$((seconds + 15))" -target ntsc-vcd "$work/disc/track1.mpg"
(cd "$work/disc" && vcdimager -t vcd2 -c vcd.cue -b vcd.bin track1.mpg >/dev/null)
ffmpeg -hide_banner -loglevel error -y -f lavfi -i "sine=frequency=440:duration=$((seconds + 15))" -b:a 128k \
  "$work/music/song.mp3"

# The display takes a number below 10, as a user's own display (:0) has. The engine's software
# output takes a display numbered 10 or more for one reached over the network and sends every
# frame through the display's socket instead of shared memory, which no user at their own screen
# pays. (xvfb-run -a would take 99.)
display=(-a)
for number in 1 2 3 4 5 6 7 8 9; do
  if [ ! -e "/tmp/.X$number-lock" ] && [ ! -e "/tmp/.X11-unix/X$number" ]; then display=(-n "$number"); break; fi
done
[ "${display[0]}" = -n ] || echo "no display number below 10 is free: the engine's output is measured without shared memory" >&2

export BENCH_SECONDS=$seconds BENCH_WORK=$work BENCH_TAVRIN=$tavrin BENCH_BIN=$bin
exec xvfb-run "${display[@]}" -s "-screen 0 1024x768x24 -nolisten tcp" python3 - <<'PY'
import os, shutil, subprocess, time

seconds = float(os.environ["BENCH_SECONDS"])
work, tavrin, bin_dir = os.environ["BENCH_WORK"], os.environ["BENCH_TAVRIN"], os.environ["BENCH_BIN"]
ticks = os.sysconf("SC_CLK_TCK")
warm_up = 4.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / ticks  # utime, stime


def measure(command, env=None):
    """Percent of one core the command's process spends over the measured span."""
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(warm_up)
        if process.poll() is not None:
            return None
        start_cpu, start = cpu_seconds(process.pid), time.monotonic()
        time.sleep(seconds)
        if process.poll() is not None:
            return None
        return 100.0 * (cpu_seconds(process.pid) - start_cpu) / (time.monotonic() - start)
    finally:
        process.terminate()
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def tavrin_env(drive, music=False):
    """A throw-away user and program folder; the readme read; the drive (a disc image) or the
    chosen device (a music folder) probed and played at start."""
    root = os.path.join(work, "user-" + os.path.basename(drive))
    program = os.path.join(root, "program")
    for folder in ("Skin", "Button Mask", "Desk"):
        shutil.copytree(os.path.join(bin_dir, folder), os.path.join(program, folder), dirs_exist_ok=True)
    for folder in ("home", "config/Pelloran", "data", "runtime"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
    os.chmod(os.path.join(root, "runtime"), 0o700)
    with open(os.path.join(root, "config/Pelloran/Quorvel V1.1.conf"), "w") as settings:
        settings.write("[General]\nReadMe=1\nAutoPlay=1\nScanType3=False\n"
                       + (f"ScanType1=False\nScanType2=True\nDiskName={drive}\n" if music
                          else "ScanType1=True\nScanType2=False\n"))
    env = dict(os.environ, HOME=root + "/home", XDG_CONFIG_HOME=root + "/config", XDG_DATA_HOME=root + "/data",
               XDG_RUNTIME_DIR=root + "/runtime", PELLORAN_PROGRAM_DIR=program, PELLORAN_MSGBOX_ANSWER="7")
    if not music:
        env["PELLORAN_CD_DEVICE"] = drive
    env.pop("PELLORAN_MEDIA", None)
    return env


def as_user(command):
    """VLC refuses to run as root: under root it runs as nobody, with a copy of the display's key."""
    if os.geteuid() != 0:
        return command, None
    key = os.path.join(work, "xauthority")
    shutil.copyfile(os.environ["XAUTHORITY"], key)
    os.chmod(key, 0o644)
    env = dict(os.environ, XAUTHORITY=key, HOME=work)
    return ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + command, env


mpv = shutil.which("mpv")
vlc = shutil.which("cvlc")
mpeg, image, mp3 = work + "/disc/track1.mpg", work + "/disc/vcd.cue", work + "/music/song.mp3"
mpv_base = [mpv, "--no-config", "--really-quiet", "--ao=null"] if mpv else None
figures = {
    "Tavrin, video-CD image": measure([tavrin], tavrin_env(image)),
    "mpv alone, same MPEG": measure(mpv_base + ["--vo=x11", mpeg]) if mpv else None,
    "VLC, same image": measure(*as_user([vlc, "--intf", "dummy", "--vout", "xcb_x11", "--aout", "dummy",
                                         "vcd://" + image])) if vlc else None,
    "decode floor, same MPEG": measure(["ffmpeg", "-hide_banner", "-loglevel", "error", "-re", "-threads", "1",
                                        "-i", mpeg, "-f", "null", "-"]),
    "Tavrin, MP3": measure([tavrin], tavrin_env(work + "/music", music=True)),
    "mpv alone, same MP3": measure(mpv_base + ["--no-video", mp3]) if mpv else None,
}
for name, cpu in figures.items():
    print(f"{name:26s} {'not measured' if cpu is None else f'{cpu:6.2f} %'}")


def ratio(a, b):
    x, y = figures[a], figures[b]
    if x is not None and y:
        print(f"{a} / {b}: {x / y:.2f}")


ratio("Tavrin, video-CD image", "mpv alone, same MPEG")
ratio("Tavrin, video-CD image", "VLC, same image")
for name in ("Tavrin, video-CD image", "mpv alone, same MPEG", "VLC, same image"):
    ratio(name, "decode floor, same MPEG")
if figures["Tavrin, MP3"] is not None and figures["mpv alone, same MP3"] is not None:
    print(f"Tavrin, MP3 - mpv alone, same MP3: {figures['Tavrin, MP3'] - figures['mpv alone, same MP3']:+.2f} points")
PY
