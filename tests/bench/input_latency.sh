#!/usr/bin/env bash
# Latency of the MIDI input beside that of the keys, on a private JACK dummy server (48 kHz,
# 256 frames a period) and a private Xvfb: from a note-on arriving at Ладотон:input to its
# note-on leaving Ладотон:output, and from a key pressed to its note-on leaving, TRIALS each
# (default 30), as median and 95th percentile in ms. The target for the input is one period
# plus 1 ms. With BENCH_SCREEN_READER=orca, Orca runs beside the program (a private session bus,
# the AT-SPI bus, speech to ALSA's null device, as in the end-to-end test of the screen reader),
# and its bridge in the program sees every key.
# Usage: tests/bench/input_latency.sh path/to/ladoton [TRIALS]
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/lib.sh"
trials=${2:-30}
E2E_TIMEOUT=$((trials + 120))
e2e_init "$(realpath "${1:?usage: $0 path/to/ladoton [TRIALS]}")"

cc -O2 -o "$E2E_DIR/probe" "$here/input_latency_probe.c" -ljack -lX11 -lXtst
e2e_start_xvfb
if [[ ${BENCH_SCREEN_READER:-} == orca ]]; then
    missing=$(e2e_screen_reader_missing)
    [[ -z $missing ]] || e2e_fail "Orca's run needs $missing (scripts/install-deps installs them)"
    e2e_start_screen_reader
    echo "with Orca running"
fi
E2E_JACK_PERIOD=256 e2e_start_jack
mkfifo "$E2E_DIR/go"
"$E2E_DIR/probe" "$trials" "$KEY_Q" <"$E2E_DIR/go" >"$E2E_DIR/probe.out" 2>"$E2E_DIR/probe.err" &
e2e_track $!
exec {GO}>"$E2E_DIR/go"
e2e_wait_for 10 "the probe" grep -qx ready "$E2E_DIR/probe.out"

# Without the built-in synthesizer, device 0 is the first JACK port: the probe's.
e2e_start_program
[[ -z $E2E_ORCA_LOG ]] || e2e_wait_for 30 "Orca to read the window" e2e_said 'Ладотон'
e2e_wait_for 10 "the probe as device" eval 'jack_lsp -c probe:in | grep -q Ладотон:output'
e2e_wait_for 10 "the input port" e2e_jack_has_port "Ладотон:input"
jack_connect sender:out Ладотон:input
e2e_sleep 1
echo go >&"$GO"
e2e_wait_for $((trials + 60)) "the trials" eval "[[ \$(grep -c '^key ' '$E2E_DIR/probe.out') -ge $trials ]]"

summary() {
    sort -n | awk -v label="$1" '{ v[NR] = $1 }
        END { printf "%-28s median %6.2f ms   p95 %6.2f ms   (%d trials)\n",
              label, v[int((NR + 1) / 2)], v[int(NR * 0.95 + 0.999)], NR }'
}
echo "JACK period: 256 frames at 48 kHz = 5.33 ms; target for the input: 6.33 ms"
awk '$1 == "midi" { print $2 }' "$E2E_DIR/probe.out" | summary "Ладотон:input -> output"
awk '$1 == "key" { print $2 }' "$E2E_DIR/probe.out" | summary "key Q -> output"
[[ -z $E2E_ORCA_LOG ]] || e2e_stop_screen_reader
