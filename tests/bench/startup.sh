#!/usr/bin/env bash
# Start-up time and memory of the program, with the built-in synthesizer as device 0 and with a
# JACK MIDI port as device 0 (LADOTON_BUILTIN_SYNTH=0), and of jack-keyboard beside it.
#
# Start-up time: from just before exec until the main window is mapped on a private Xvfb,
# the median of 5 starts after one warm-up. Memory: proportional set size (PSS, from
# /proc/PID/smaps_rollup) 3 s after the start, the median of the same starts. A private JACK
# dummy server gives the synthesizer its audio output (there is no sound card here) and a
# MIDI monitor gives the port; on a machine with an ALSA sequencer its ports come first.
# Usage: tests/bench/startup.sh path/to/ladoton [RUNS]
set -euo pipefail

program=$(realpath "${1:?usage: $0 path/to/ladoton [RUNS]}")
runs=${2:-5}
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/ladoton-bench.XXXXXX")
pids=()

cleanup() {
    local index
    for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
        kill "${pids[index]}" 2>/dev/null || true
        wait "${pids[index]}" 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap cleanup EXIT

wait_until() {
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        "$@" && return 0
        sleep 0.1
    done
    echo "timed out: $*" >&2
    exit 1
}

cc -O2 -o "$scratch/startup_probe" "$here/startup_probe.c" -lX11

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" \
    </dev/null >"$scratch/xvfb.log" 2>&1 &
pids+=($!)
wait_until test -s "$scratch/display"
export DISPLAY=":$(head -n 1 "$scratch/display")"
wait_until xdpyinfo >/dev/null 2>&1

export JACK_DEFAULT_SERVER="ladoton-bench-$$"
export JACK_NO_START_SERVER=1
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 </dev/null >"$scratch/jackd.log" 2>&1 &
pids+=($!)
wait_until jack_lsp >/dev/null 2>&1
jack_midi_dump -a bench-port </dev/null >/dev/null 2>&1 &
pids+=($!)
wait_until eval 'jack_lsp | grep -qx bench-port:input'

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure LABEL [VARIABLE=VALUE...]: the program, or the command in `measured` when set.
measure() {
    local label=$1 run
    [[ -n ${measured+set} ]] || local measured=("$program")
    shift
    : >"$scratch/results"
    for ((run = 0; run <= runs; run++)); do
        (cd "$scratch" && env "$@" QT_QPA_PLATFORM=xcb "$scratch/startup_probe" 3 \
            ${measured[@]+"${measured[@]}"}) \
            >>"$scratch/results" 2>>"$scratch/programs.log"
        ((run > 0)) || : >"$scratch/results" # the first start only warms the caches
    done
    local map pss cpu own
    map=$(cut -d' ' -f1 "$scratch/results" | median)
    pss=$(cut -d' ' -f2 "$scratch/results" | median)
    cpu=$(cut -d' ' -f3 "$scratch/results" | median)
    own=$(cut -d' ' -f4 "$scratch/results" | median)
    printf '%s\n  start-up %.1f ms (starts: %s ms; CPU used until mapped %d ms)\n' "$label" "$map" \
        "$(cut -d' ' -f1 "$scratch/results" | paste -sd' ')" "$cpu"
    printf '  PSS %.1f MiB, of which %.1f MiB outside the JACK server'"'"'s shared memory\n' \
        "$(awk -v k="$pss" 'BEGIN { print k / 1024 }')" "$(awk -v k="$own" 'BEGIN { print k / 1024 }')"
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
measure "built-in synthesizer as device 0" LADOTON_BUILTIN_SYNTH=1 LADOTON_SYNTH_AUDIO=jack
measure "JACK port as device 0" LADOTON_BUILTIN_SYNTH=0
# The outputs tried in their own order, PipeWire's first: here each but JACK fails to open.
measure "built-in synthesizer, every output tried" LADOTON_BUILTIN_SYNTH=1
# The peer beside it, in the same run (installed when missing).
if ! command -v jack-keyboard >/dev/null; then
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        jack-keyboard >"$scratch/apt.log" 2>&1
fi
measured=(jack-keyboard -a bench-port:input)
measure "jack-keyboard, connected to a JACK port"
