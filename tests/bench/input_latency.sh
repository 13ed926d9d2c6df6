#!/usr/bin/env bash
# Latency of the MIDI input beside that of the keys, on a private JACK dummy server (48 kHz,
# 256 frames a period) and a private Xvfb: from a note-on arriving at Ладотон:input to its
# note-on leaving Ладотон:output, and from a key pressed to its note-on leaving, TRIALS each
# (default 30), as median and 95th percentile in ms. The target for the input is one period
# plus 1 ms.
# Usage: tests/bench/input_latency.sh path/to/ladoton [TRIALS]
set -euo pipefail

program=$(realpath "${1:?usage: $0 path/to/ladoton [TRIALS]}")
trials=${2:-30}
here=$(dirname "$(realpath "${BASH_SOURCE[0]}")")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/ladoton-bench.XXXXXX")
pids=()

cleanup() {
    local index
    for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
        kill "${pids[index]}" 2>/dev/null || true
        wait "${pids[index]}" 2>/dev/null || true
    done
    [[ -n ${KEEP:-} ]] || rm -rf "$scratch"
}
trap cleanup EXIT

# wait_until COMMAND...: up to 20 s, or WAIT_TENTHS tenths of a second.
wait_until() {
    local tries
    for ((tries = 0; tries < ${WAIT_TENTHS:-200}; tries++)); do
        "$@" && return 0
        sleep 0.1
    done
    echo "timed out: $*" >&2
    exit 1
}

cc -O2 -o "$scratch/probe" "$here/input_latency_probe.c" -ljack -lX11 -lXtst

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

mkfifo "$scratch/go"
"$scratch/probe" "$trials" 24 <"$scratch/go" >"$scratch/probe.out" 2>"$scratch/probe.err" &
pids+=($!)
exec 3>"$scratch/go"
wait_until grep -qx ready "$scratch/probe.out"

# Without the built-in synthesizer, device 0 is the first JACK port: the probe's.
(cd "$scratch" && exec env LADOTON_BUILTIN_SYNTH=0 "$program") </dev/null >/dev/null 2>&1 &
pids+=($!)
wait_until eval 'jack_lsp -c probe:in | grep -q Ладотон:output'
wait_until eval 'jack_lsp | grep -qx Ладотон:input'
jack_connect sender:out Ладотон:input
window=$(xdotool search --sync --onlyvisible --name '^Ладотон' | head -n 1)
xdotool windowfocus --sync "$window"
sleep 1
echo go >&3
WAIT_TENTHS=$((trials * 10 + 200)) wait_until eval "[[ \$(grep -c '^key ' '$scratch/probe.out') -ge $trials ]]"

summary() {
    sort -n | awk -v label="$1" '{ v[NR] = $1 }
        END { printf "%-28s median %6.2f ms   p95 %6.2f ms   (%d trials)\n",
              label, v[int((NR + 1) / 2)], v[int(NR * 0.95 + 0.999)], NR }'
}
echo "JACK period: 256 frames at 48 kHz = 5.33 ms; target for the input: 6.33 ms"
awk '$1 == "midi" { print $2 }' "$scratch/probe.out" | summary "Ладотон:input -> output"
awk '$1 == "key" { print $2 }' "$scratch/probe.out" | summary "key Q -> output"
