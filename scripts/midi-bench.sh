#!/usr/bin/env bash
# MIDI playing benchmark: Tavrin on the real back end under Xvfb, with a song folder of a
# one-minute MIDI song (four instruments and drums, written here) and a one-minute MP3
# (ffmpeg, 128 kbit/s stereo). Each run presses the number key of one song and measures
#   - key to sound: from the number key until the player's clock shows the song moving
#     (the clock is refreshed every 250 ms, so the figure is up to that much late for both);
#   - CPU: the player's processor time (all its threads, the synthesiser's included) over
#     15 seconds of playing, as a share of one processor.
# The songs take turns, MIDI first; the first MIDI start (FluidSynth and the sound font
# loaded) is shown apart. Prints the medians and the MIDI/MP3 ratios. Not a test: figures
# vary with the machine, compare them within one run.
#
#   scripts/midi-bench.sh [runs]            (default 5; build folder: $BUILD_DIR or build/)
#   BENCH_VERBOSE=1 scripts/midi-bench.sh   prints every measurement
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-5}
[ "$runs" -ge 2 ] || { echo "runs: 2 or more (the first MIDI start is shown apart)" >&2; exit 2; }
bin=$(realpath "${BUILD_DIR:-build}/bin")
[ -x "$bin/Tavrin" ] || { echo "not built: $bin/Tavrin (cmake --build build)" >&2; exit 1; }
for tool in xvfb-run ffmpeg; do
  command -v $tool >/dev/null || { echo "$tool is missing (scripts/setup.sh)" >&2; exit 1; }
done
export BENCH_RUNS=$runs BENCH_BIN=$bin

exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" python3 - <<'PY'
import hashlib, os, shutil, socket, statistics, subprocess, tempfile, time

bin_dir = os.environ["BENCH_BIN"]
runs = int(os.environ["BENCH_RUNS"])
scratch = tempfile.mkdtemp(prefix="midi-bench.")
SECONDS = 60


def variable_length(value):
    out = [value & 0x7F]
    while value := value >> 7:
        out.insert(0, 0x80 | (value & 0x7F))
    return bytes(out)


def track(events):
    """events: (tick, bytes) in any order; returns an MTrk chunk."""
    body, now = b"", 0
    for tick, message in sorted(events, key=lambda e: e[0]):
        body += variable_length(tick - now) + message
        now = tick
    body += b"\x00\xff\x2f\x00"
    return b"MTrk" + len(body).to_bytes(4, "big") + body


def midi_song():
    """A minute at 120 beats a minute: melody, chords, bass and drums, 480 ticks a beat."""
    beat, beats = 480, SECONDS * 2
    tempo = [(0, b"\xff\x51\x03\x07\xa1\x20")]
    melody, chords, bass, drums = [(0, b"\xc0\x00")], [(0, b"\xc1\x30")], [(0, b"\xc2\x21")], []
    scale = [60, 62, 64, 65, 67, 69, 71, 72]
    for b in range(beats):
        for half in (0, 1):
            at = b * beat + half * beat // 2
            key = scale[(b * 3 + half * 5) % 8]
            melody += [(at, bytes([0x90, key, 90])), (at + beat // 2 - 10, bytes([0x80, key, 0]))]
            drums += [(at, bytes([0x99, 42, 70])), (at + 60, bytes([0x89, 42, 0]))]
        drums += [(b * beat, bytes([0x99, 36 if b % 2 == 0 else 38, 100])), (b * beat + 100, bytes([0x89, 36 if b % 2 == 0 else 38, 0]))]
        root = [48, 53, 55, 48][(b // 4) % 4]
        bass += [(b * beat, bytes([0x92, root - 12, 100])), (b * beat + beat - 20, bytes([0x82, root - 12, 0]))]
        if b % 4 == 0:
            for key in (root, root + 4, root + 7):
                chords += [(b * beat, bytes([0x91, key, 70])), (b * beat + 4 * beat - 10, bytes([0x81, key, 0]))]
    tracks = [track(tempo), track(melody), track(chords), track(bass), track(drums)]
    header = b"MThd" + (6).to_bytes(4, "big") + (1).to_bytes(2, "big") + len(tracks).to_bytes(2, "big") + beat.to_bytes(2, "big")
    return header + b"".join(tracks)


music = os.path.join(scratch, "music")
for folder in ("1midi", "2mp3"):
    os.makedirs(os.path.join(music, folder))
with open(os.path.join(music, "1midi", "song.mid"), "wb") as song:
    song.write(midi_song())
subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", f"sine=frequency=440:duration={SECONDS}",
                "-ac", "2", "-ar", "44100", "-b:a", "128k", os.path.join(music, "2mp3", "song.mp3")], check=True)

# The player's own folders; its panels are those built beside it.
program = os.path.join(scratch, "program")
os.makedirs(program)
for sub in ("Skin", "Button Mask", "Desk", "Icon"):
    if os.path.isdir(os.path.join(bin_dir, sub)):
        shutil.copytree(os.path.join(bin_dir, sub), os.path.join(program, sub))
config = os.path.join(scratch, "config")
os.makedirs(os.path.join(config, "Pelloran"))
for sub in ("home", "data", "runtime"):
    os.makedirs(os.path.join(scratch, sub), mode=0o700)
with open(os.path.join(config, "Pelloran", "Quorvel V1.1.conf"), "w") as settings:
    settings.write("[General]\nReadMe=1\nScanType1=False\nScanType2=True\nScanType3=False\n"
                   f"DiskName={music}\nAutoPlay=0\n")
env = {k: v for k, v in os.environ.items() if k not in ("PELLORAN_MEDIA", "QT_QPA_PLATFORM")}
env.update(HOME=scratch + "/home", XDG_CONFIG_HOME=config, XDG_DATA_HOME=scratch + "/data",
           XDG_RUNTIME_DIR=scratch + "/runtime", PELLORAN_PROGRAM_DIR=program, QT_QPA_PLATFORM="xcb",
           PELLORAN_TEST_CONTROL="1", PELLORAN_MSGBOX_ANSWER="7")
server = os.path.join(tempfile.gettempdir(), "Quorvel-" + hashlib.sha1((config + "/Pelloran").encode()).hexdigest()[:16])


def command(line):
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as channel:
        channel.connect(server)
        channel.sendall(line.encode() + b"\n")


def panel():
    state = os.path.join(scratch, "state.txt")
    if os.path.exists(state):
        os.remove(state)
    command("state " + state)
    deadline = time.perf_counter() + 5
    while not os.path.exists(state) and time.perf_counter() < deadline:
        time.sleep(0.005)
    time.sleep(0.005)
    with open(state, encoding="utf-8") as shown:
        return dict(line.split("=", 1) for line in shown.read().splitlines() if "=" in line)


def wait_for(test, seconds):
    deadline = time.perf_counter() + seconds
    while time.perf_counter() < deadline:
        try:
            shown = panel()
            if test(shown):
                return shown
        except OSError:
            pass
        time.sleep(0.02)
    raise SystemExit("the player did not get there: " + str(shown if "shown" in locals() else "no panel"))


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


player = subprocess.Popen([os.path.join(bin_dir, "Tavrin")], env=env, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
results = {"MIDI": {"sound": [], "cpu": []}, "MP3": {"sound": [], "cpu": []}}
first_midi = None
try:
    wait_for(lambda shown: shown.get("MediaKind") == "MP3", 60)
    time.sleep(2)
    idle_cpu, idle_begin = cpu_seconds(player.pid), time.perf_counter()
    time.sleep(5)
    idle = (cpu_seconds(player.pid) - idle_cpu) / (time.perf_counter() - idle_begin)
    for run in range(runs):
        # Always the other song: its title is what tells that it plays (a stopped song's
        # time stays on the clock until the next one moves it).
        for kind, key, name in (("MIDI", 0, "song.mid"), ("MP3", 1, "song.mp3")):
            command("key PicCtl 1")  # stop what plays
            time.sleep(1)
            pressed = time.perf_counter()
            command(f"key PicNum {key}")
            wait_for(lambda shown: shown.get("Label2(2)", "").endswith(name)
                     and shown.get("Label2(0)", "00:00:00") > "00:00:00", 30)
            sound = (time.perf_counter() - pressed) * 1000
            if kind == "MIDI" and first_midi is None:
                first_midi = sound
            else:
                results[kind]["sound"].append(sound)
            begin_cpu, begin = cpu_seconds(player.pid), time.perf_counter()
            time.sleep(15)
            results[kind]["cpu"].append((cpu_seconds(player.pid) - begin_cpu) / (time.perf_counter() - begin) * 100)
            if os.environ.get("BENCH_VERBOSE"):
                print(f"{kind}: {sound:.0f} ms key to sound, {results[kind]['cpu'][-1]:.1f} % CPU", flush=True)
    command("quit")
    player.wait(20)
finally:
    if player.poll() is None:
        player.kill()
    shutil.rmtree(scratch, ignore_errors=True)

print(f"Tavrin on the real back end under Xvfb, medians of {runs} alternating runs")
print(f"idle (panel shown, nothing playing): {idle * 100:.1f} % CPU")
print(f"first MIDI start (synthesiser and sound font loaded): {first_midi:.0f} ms key to sound")
print(f"{'song':<8}{'key to sound ms':>16}{'CPU %':>8}")
for kind in ("MIDI", "MP3"):
    print(f"{kind:<8}{statistics.median(results[kind]['sound']):>16.0f}{statistics.median(results[kind]['cpu']):>8.1f}")
print(f"{'ratio':<8}{statistics.median(results['MIDI']['sound']) / statistics.median(results['MP3']['sound']):>16.2f}"
      f"{statistics.median(results['MIDI']['cpu']) / statistics.median(results['MP3']['cpu']):>8.2f}")
PY
