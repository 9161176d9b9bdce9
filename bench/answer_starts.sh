#!/usr/bin/env bash
# The real game's window on a virtual display, heard through a PulseAudio null sink: F5 and H pressed
# after silence, each answer cut by Control, the sink's monitor recorded; then the first 60 ms of every
# answer laid side by side in one spectrogram, where a click at a start shows as a vertical line.
#
#   xvfb-run -a bench/answer_starts.sh build-bench/veldrisa OUT [ANSWERS] [sdl]
#
# OUT receives capture.wav, starts.wav and starts.png. With "sdl" the voice goes through SDL's mix.
# SINK_OPTIONS adds options to the null sink, e.g. SINK_OPTIONS=norewinds=1: a sink that cannot
# rewind what it has rendered, as the monitor's recording cannot.
set -euo pipefail
game=$(realpath "$1")
out=$(realpath -m "$2")
answers=${3:-50}
route=${4:-server}
mkdir -p "$out"
work=$(mktemp -d /tmp/veldrisa-starts-XXXXXX)
server_pid=
record_pid=
game_pid=
finish() {
    for pid in $game_pid $record_pid $server_pid; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap finish EXIT

# The server and its clients keep everything in the scratch folder and meet only through its socket.
export PULSE_SERVER=unix:$work/native PULSE_RUNTIME_PATH=$work/runtime PULSE_STATE_PATH=$work/state
export XDG_RUNTIME_DIR=$work HOME=$work
env -u PULSE_SERVER pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-level=debug \
    --log-target=file:"$work/server.log" "--load=module-null-sink sink_name=starts rate=44100 channels=2 ${SINK_OPTIONS:-}" \
    "--load=module-native-protocol-unix auth-anonymous=1 socket=$work/native" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
parec -d starts.monitor --rate=44100 --channels=2 --format=s16le --latency-msec=6 >"$work/capture.raw" &
record_pid=$!
# A null sink takes its clients' latency only at the end of its first two-second block.
sleep 2.5

# Started from a folder of its own, without the room sounds: everything heard is an answer.
cp "$game" "$work/veldrisa"
if [ "$route" = sdl ]; then export VELDRISA_VOICE_OUTPUT=sdl; fi
SDL_AUDIODRIVER=pulseaudio "$work/veldrisa" 2>"$out/game-stderr.txt" &
game_pid=$!
window=$(xdotool search --sync --onlyvisible --class '^veldrisa$' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 1
xdotool key ctrl Return
sleep 1.5
xdotool key ctrl
for ((i = 0; i < answers; i++)); do
    sleep 0.4
    if ((i % 2)); then xdotool key h; else xdotool key F5; fi
    sleep 0.3
    xdotool key ctrl
done
sleep 0.5
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=
kill "$record_pid"
wait "$record_pid" 2>/dev/null || true
record_pid=
echo "Server underruns: $(grep -ac "underrun of '" "$work/server.log" || true)"

sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/capture.raw" "$out/capture.wav"
python3 - "$work/capture.raw" "$work/starts.raw" "$answers" <<'EOF'
# Each answer's start: the first audible frame after at least 200 ms of exact silence. From 10 ms
# before it to 50 ms after, then 10 ms of silence, for every start found. A start that jumps from
# silence straight to a large sample (a click, or the first milliseconds lost) is listed too.
import array
import sys

samples = array.array("h")
with open(sys.argv[1], "rb") as f:
    samples.frombytes(f.read())
rate, audible = 44100, 64
frames = len(samples) // 2
level = [max(abs(samples[2 * i]), abs(samples[2 * i + 1])) for i in range(frames)]
starts, quiet = [], 0
for i, v in enumerate(level):
    if v == 0:
        quiet += 1
    elif v > audible:
        if quiet >= rate // 5:
            starts.append(i)
        quiet = 0
out = array.array("h")
before, after, gap = rate // 100, rate // 20, rate // 100
fade = rate * 3 // 1000
for s in starts[: int(sys.argv[3])]:
    piece = samples[2 * (s - before) : 2 * (s + after)]
    # Faded out at its end, so that the cut made here is not drawn as a click.
    for i in range(fade):
        for c in (0, 1):
            piece[2 * (len(piece) // 2 - fade + i) + c] = int(piece[2 * (len(piece) // 2 - fade + i) + c] * (fade - i) / fade)
    out.extend(piece)
    out.extend([0] * 2 * gap)
with open(sys.argv[2], "wb") as f:
    f.write(out.tobytes())
abrupt = [k for k, s in enumerate(starts[: int(sys.argv[3])]) if level[s] > 1500 or level[s + 1] > 1500]
print(f"Answers' starts found: {len(starts)}; starting abruptly (first sample above 1500): {len(abrupt)} {abrupt}")
EOF
sox -t raw -r 44100 -e signed -b 16 -c 2 "$work/starts.raw" "$out/starts.wav" remix 1
sox "$out/starts.wav" -n spectrogram -x 3000 -y 257 -z 90 -t "Starts of the answers (10 ms before, 50 after each)" \
    -o "$out/starts.png"
echo "Written: $out/capture.wav, $out/starts.wav, $out/starts.png"
