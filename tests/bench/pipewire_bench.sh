#!/usr/bin/env bash
# Key to sound and CPU at rest of the built-in synthesizer on a private headless PipeWire
# (pipewire, wireplumber, pipewire-pulse, a null sink at 48 kHz; see pipewire_lib.sh), under
# Xvfb. For each output (PipeWire's own stream, and FluidSynth's PulseAudio driver through
# pipewire-pulse), one run of the program:
#  - CPU at rest: the scheduler run time of every thread of the program, of pipewire and of
#    pipewire-pulse over SECONDS (10 unless given), from 5 s after the window is mapped;
#  - key to sound: Q pressed through XTEST PRESSES times (30 unless given), held 250 ms, until
#    its sound reaches the sink's monitor (sound_latency_probe.c), the median and the 95th
#    percentile, and the notes that fell silent while held; a third of the presses come after
#    4 s of silence, when the synthesizer rests.
# VMPK beside it (installed when missing), with its default output, FluidSynth on PulseAudio,
# on the same SoundFont, in a private home.
# First the floor of the measurement: a window of the probe's own whose bare stream (quantum
# 256) starts a click when the key reaches it (the click is 5 ms long: its "gaps" mean nothing).
# Usage: tests/bench/pipewire_bench.sh path/to/ladoton [SECONDS] [PRESSES]
# (PW_BENCH_PEERS=0 leaves VMPK out; PW_BENCH_OUTPUTS="pulseaudio" measures only that output,
# as for a build without the PipeWire stream.)
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/lib.sh"
source "$here/pipewire_lib.sh"
seconds=${2:-10}
presses=${3:-30}
E2E_TIMEOUT=$((600 + 20 * presses))
e2e_init "$(realpath "$1")"

cc -O2 -o "$E2E_DIR/probe" "$here/sound_latency_probe.c" \
    $(pkg-config --cflags --libs libpipewire-0.3) -lX11 -lXtst -lm -pthread ||
    e2e_fail "cannot build the probe (libpipewire-0.3-dev, libxtst-dev)"

# latency LABEL PROBE_ARGUMENTS...: the probe's presses in two rounds, the ones after a rest last.
latency() {
    local label=$1 results=$E2E_DIR/latency.${1//[^a-z]/}
    shift
    local after_rest=$((presses / 3))
    "$E2E_DIR/probe" "$PW_SINK" $((presses - after_rest)) 250 900 "$@" >"$results" ||
        e2e_fail "the probe failed"
    "$E2E_DIR/probe" "$PW_SINK" "$after_rest" 250 4000 "$@" >"$results.rest" ||
        e2e_fail "the probe failed"
    awk -v label="$label" -v rested="$(wc -l <"$results.rest")" '
        $1 == "lost" { lost++; next }
        { v[n++] = $1; gaps += $2; if (FNR <= rested && FILENAME ~ /rest$/) r[m++] = $1 }
        function pick(a, count, q,   i, j, t) {
            for (i = 0; i < count; i++) for (j = i + 1; j < count; j++)
                if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
            return a[int(q * (count - 1) + 0.5)]
        }
        END {
            printf "%-44s key to sound median %.1f ms, p95 %.1f ms; after a rest median %.1f ms; gaps %d/%d, lost %d\n",
                label, pick(v, n, 0.5), pick(v, n, 0.95), pick(r, m, 0.5), gaps, n, lost
        }' "$results" "$results.rest"
}

# cpu_at_rest LABEL PID: the program's CPU and the sound server's beside it.
cpu_at_rest() {
    local label=$1 pid=$2 before=() after=() p
    local watched=("$pid" "${PW_PIDS[0]}" "${PW_PIDS[2]}")
    e2e_sleep 5
    for p in "${watched[@]}"; do before+=("$(pw_cpu_ns "$p")"); done
    e2e_sleep "$seconds"
    for p in "${watched[@]}"; do after+=("$(pw_cpu_ns "$p")"); done
    awk -v label="$label" -v s="$seconds" -v a="${after[*]}" -v b="${before[*]}" 'BEGIN {
        split(a, x); split(b, y)
        for (i = 1; i <= 3; i++) share[i] = 100 * (x[i] - y[i]) / 1e9 / s
        printf "%-44s CPU at rest %.2f %% (program %.2f, pipewire %.2f, pipewire-pulse %.2f)\n",
            label, share[1] + share[2] + share[3], share[1], share[2], share[3] }'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
pw_start
e2e_start_xvfb
latency "bench floor: a bare stream clicking" "$KEY_Q" click

# The stream as PipeWire shows it while a note sounds: its name, icon, quantum asked and state.
show_stream() {
    e2e_keys +"$KEY_Q" @300
    pw-dump >"$E2E_DIR/pw-dump.json"
    # pw-top of this PipeWire has no batch mode: one screen of it through a terminal.
    TERM=xterm COLUMNS=120 LINES=20 script -qc 'timeout 1.5 pw-top' /dev/null 2>/dev/null |
        sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\x1b[()][0-9A-Za-z]//g' | tr '\r' '\n' |
        grep -aE 'QUANT|Ладотон|ladoton_bench' | tail -n 3 >"$E2E_DIR/pw-top.txt" || true
    e2e_keys -"$KEY_Q"
    cat "$E2E_DIR/pw-top.txt"
    python3 - "$E2E_DIR/pw-dump.json" <<'PY'
import json, sys
for node in json.load(open(sys.argv[1])):
    info = node.get("info") or {}
    props = info.get("props") or {}
    if node.get("type", "").endswith("Node") and props.get("node.name") == "Ладотон":
        keys = ("node.name", "node.description", "media.name", "application.name",
                "application.icon-name", "media.class", "node.latency")
        print(json.dumps({"id": node["id"], "state": info.get("state"),
                          "props": {k: props[k] for k in keys if k in props}},
                         ensure_ascii=False, indent=1))
PY
}

for audio in ${PW_BENCH_OUTPUTS:-pipewire pulseaudio}; do
    (
        cd "$E2E_DIR" &&
            exec env -u JACK_NO_START_SERVER QT_QPA_PLATFORM=xcb LADOTON_BUILTIN_SYNTH=1 \
                LADOTON_SYNTH_AUDIO=$audio "$E2E_PROGRAM"
    ) </dev/null >"$E2E_DIR/program.out" 2>"$E2E_DIR/program.err" &
    E2E_PROGRAM_PID=$!
    e2e_track "$E2E_PROGRAM_PID"
    e2e_wait_main_window
    cpu_at_rest "Ладотон, $audio" "$E2E_PROGRAM_PID"
    latency "Ладотон, $audio" "$KEY_Q"
    [[ $audio != pipewire ]] || show_stream
    e2e_stop_pid "$E2E_PROGRAM_PID"
done

[[ ${PW_BENCH_PEERS:-1} == 1 ]] || exit 0
pw_install_missing vmpk
export HOME=$E2E_DIR/home
mkdir -p "$HOME/.config/vmpk.sourceforge.net"
cat >"$HOME/.config/vmpk.sourceforge.net/VMPK.conf" <<CONF
[Connections]
OutputDriver=FluidSynth
[FluidSynth]
AudioDriver=pulseaudio
InstrumentsDefinition=$(realpath /usr/share/sounds/sf2/default-GM.sf2)
CONF
vmpk </dev/null >"$E2E_DIR/vmpk.out" 2>&1 &
E2E_PROGRAM_PID=$!
e2e_track "$E2E_PROGRAM_PID"
find_vmpk() {
    E2E_WINDOW=$(xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" \
        --name '^Virtual MIDI Piano Keyboard' 2>/dev/null | head -n 1)
    [[ -n $E2E_WINDOW ]]
}
e2e_wait_for 30 "VMPK's window" find_vmpk
e2e_focus_window
cpu_at_rest "VMPK, FluidSynth on pulseaudio" "$E2E_PROGRAM_PID"
latency "VMPK, FluidSynth on pulseaudio" "$KEY_Q"
