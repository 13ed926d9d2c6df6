#!/usr/bin/env bash
# The built-in synthesizer on its PipeWire stream across restarts of the PipeWire daemon, on a
# private headless PipeWire (pipewire_lib.sh) under Xvfb. ROUNDS times (3 unless given), while a
# note is held: the daemons (pipewire, wireplumber, pipewire-pulse) end as a restart of the
# user's services ends them, start again a second later, and
#  - back: the time from pipewire starting again to the program's stream in the graph (target:
#    2 s; the script's own start of the three daemons and the null sink takes about 1 s), then key to sound of 5 presses heard on the sink (sound_latency_probe.c);
#  - click: the largest step between two samples as the held note comes back on the sink,
#    beside the largest step of the note's steady sound after it (the program is stopped with
#    SIGSTOP while the daemons come back and a recorder starts on the sink's monitor, and
#    continued then, so that the recording holds the moment its stream comes back);
# then, with the daemons gone for SECONDS (5 unless given), the program's CPU while it has no
# PipeWire to reach. At the end the program must have written nothing to the terminal.
# Usage: tests/bench/pipewire_restart.sh path/to/ladoton [ROUNDS] [SECONDS]
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/lib.sh"
source "$here/pipewire_lib.sh"
rounds=${2:-3}
seconds=${3:-5}
E2E_TIMEOUT=$((240 + 40 * rounds + seconds))
e2e_init "$(realpath "$1")"

cc -O2 -o "$E2E_DIR/probe" "$here/sound_latency_probe.c" \
    $(pkg-config --cflags --libs libpipewire-0.3) -lX11 -lXtst -lm -pthread ||
    e2e_fail "cannot build the probe (libpipewire-0.3-dev, libxtst-dev)"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
pw_start
e2e_start_xvfb
(
    cd "$E2E_DIR" &&
        exec env -u JACK_NO_START_SERVER QT_QPA_PLATFORM=xcb LADOTON_BUILTIN_SYNTH=1 \
            LADOTON_SYNTH_AUDIO=pipewire "$E2E_PROGRAM"
) </dev/null >"$E2E_DIR/program.out" 2>"$E2E_DIR/program.err" &
E2E_PROGRAM_PID=$!
e2e_track "$E2E_PROGRAM_PID"
e2e_wait_main_window

stream_in_graph() { pactl list sink-inputs 2>/dev/null | grep -q 'application.name = "Ладотон"'; }
now_ms() { date +%s%3N; }

# heard LABEL: 5 presses of Q, each heard on the sink.
heard() {
    "$E2E_DIR/probe" "$PW_SINK" 5 250 400 "$KEY_Q" >"$E2E_DIR/heard" || e2e_fail "the probe failed"
    grep -q lost "$E2E_DIR/heard" && e2e_fail "$1: a note was not heard: $(tr '\n' ' ' <"$E2E_DIR/heard")"
    awk -v label="$1" '{ sum += $1; gaps += $2 } END {
        printf "%s: 5 of 5 notes heard, key to sound %.1f ms on average, gaps %d\n", label, sum / NR, gaps }' \
        "$E2E_DIR/heard"
}

# The sink's monitor from the daemons' return, as 32-bit float stereo, read back for the steps.
click_figures() {
    python3 - "$1" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
left = struct.unpack("<%df" % (len(data) // 4), data[: len(data) // 4 * 4])[0::2]
# The null sink's silence is exact: the sound comes back at the first sample that is not 0 after
# 10 ms of zeros.
quiet = 0
for i, sample in enumerate(left):
    if sample != 0 and quiet >= 480:
        onset = i
        break
    quiet = quiet + 1 if sample == 0 else 0
else:
    print("no return of the sound in the recording")
    sys.exit(0)
steps = [abs(left[i] - left[i - 1]) for i in range(onset, min(onset + 48000, len(left)))]
jump = max(steps[:96] + [abs(left[onset])])
steady = max(steps[480:]) if len(steps) > 480 else float("nan")
print("largest step in the first 2 ms as the sound came back %.5f, %.1f times the largest of"
      " its steady sound after (%.5f)" % (jump, jump / steady, steady))
PY
}

heard "before any restart"
for ((round = 1; round <= rounds; round++)); do
    e2e_keys +"$KEY_Q" @500
    pw_stop_daemons
    e2e_sleep 1
    started=$(now_ms)
    pw_start_daemons
    answered=$(now_ms)
    e2e_wait_for 10 "the program's stream in the graph" stream_in_graph
    echo "round $round: the stream is back $(($(now_ms) - started)) ms after pipewire started" \
        "(the daemons and the sink were there after $((answered - started)) ms)"
    e2e_keys -"$KEY_Q" @300
    heard "round $round"

    e2e_keys +"$KEY_Q" @500
    pw_stop_daemons
    kill -STOP "$E2E_PROGRAM_PID"
    e2e_sleep 1
    pw_start_daemons
    parec -d "$PW_SINK.monitor" --format=float32le --rate=48000 --channels=2 \
        >"$E2E_DIR/monitor.raw" </dev/null 2>"$E2E_DIR/parec.err" &
    recorder=$!
    e2e_track "$recorder"
    e2e_sleep 1
    kill -CONT "$E2E_PROGRAM_PID"
    e2e_wait_for 10 "the program's stream in the graph" stream_in_graph
    e2e_sleep 3
    kill -INT "$recorder"
    wait "$recorder" || true
    e2e_keys -"$KEY_Q" @300
    echo "round $round: $(click_figures "$E2E_DIR/monitor.raw")"
done

pw_stop_daemons
before=$(pw_cpu_ns "$E2E_PROGRAM_PID")
e2e_sleep "$seconds"
after=$(pw_cpu_ns "$E2E_PROGRAM_PID")
awk -v b="$before" -v a="$after" -v s="$seconds" 'BEGIN {
    printf "no PipeWire for %d s: the program used %.2f %% of a core\n", s, 100 * (a - b) / 1e9 / s }'
pw_start_daemons
e2e_wait_for 10 "the program's stream in the graph" stream_in_graph
heard "after $seconds s without PipeWire"
e2e_program_alive || e2e_fail "the program ended"
e2e_expect_quiet_program
e2e_log "PASS"
