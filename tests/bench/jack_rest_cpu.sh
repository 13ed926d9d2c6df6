#!/usr/bin/env bash
# CPU at rest on a private JACK server (dummy, 48 kHz, 256 frames) under Xvfb, beside the
# peers, in three alternating runs: the scheduler run time of every thread of each program
# (/proc/PID/task/*/schedstat, not the tick-sampled utime, which misses short wake-ups) over
# SECONDS (10 unless given), from 5 s after its window is mapped.
#  - JACK MIDI port: Ладотон with a JACK port as device 0 beside jack-keyboard, both connected
#    to the same monitor (jack_midi_dump);
#  - synthesizer: Ладотон's built-in synthesizer on JACK beside VMPK's FluidSynth on JACK, both
#    playing into the server's playback ports, on the same SoundFont.
# The peers are installed when missing. Usage: tests/bench/jack_rest_cpu.sh path/to/ladoton [SECONDS]
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/lib.sh"
source "$here/pipewire_lib.sh" # pw_install_missing, pw_cpu_ns
seconds=${2:-10}
E2E_TIMEOUT=$((12 * (seconds + 40)))
e2e_init "$(realpath "$1")"
pw_install_missing jack-keyboard vmpk

declare -A total=()
# at_rest KEY PID: adds the share of one core PID used to total[KEY] and prints it.
at_rest() {
    local before after
    e2e_sleep 5
    before=$(pw_cpu_ns "$2")
    e2e_sleep "$seconds"
    after=$(pw_cpu_ns "$2")
    e2e_alive "$2" || e2e_fail "$1 ended"
    local share
    share=$(awk -v u=$((after - before)) -v s="$seconds" 'BEGIN { printf "%.2f", 100 * u / 1e9 / s }')
    total[$1]=$(awk -v a="${total[$1]:-0}" -v b="$share" 'BEGIN { printf "%.2f", a + b }')
    printf '  %5.2f %%  %s\n' "$share" "$1"
    e2e_stop_pid "$2"
}

find_titled() {
    E2E_WINDOW=$(xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1)
    [[ -n $E2E_WINDOW ]]
}

# A peer started in the scratch folder with a home of its own.
launch_peer() {
    (cd "$E2E_DIR" && HOME=$E2E_DIR/home exec "$@") </dev/null >>"$E2E_DIR/peers.log" 2>&1 &
    peer=$!
    e2e_track "$peer"
}

mkdir -p "$E2E_DIR/home/.config/vmpk.sourceforge.net"
cat >"$E2E_DIR/home/.config/vmpk.sourceforge.net/VMPK.conf" <<CONF
[Connections]
OutputDriver=FluidSynth
[FluidSynth]
AudioDriver=jack
InstrumentsDefinition=$(realpath /usr/share/sounds/sf2/default-GM.sf2)
CONF

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
e2e_start_xvfb
export JACK_DEFAULT_SERVER="ladoton-rest-$$"
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 </dev/null >>"$E2E_DIR/jackd.log" 2>&1 &
E2E_JACK_PID=$!
e2e_track "$E2E_JACK_PID"
e2e_wait_for 20 "the JACK server" e2e_jack_ready
e2e_start_midi_dump monitor
connected_to_monitor() { [[ $(jack_lsp -c monitor:input 2>/dev/null | grep -c '^ ') -ge 1 ]]; }

for run in 1 2 3; do
    echo "run $run"
    E2E_BUILTIN_SYNTH=0 e2e_start_program
    e2e_wait_for 20 "Ладотон's connection to the monitor" connected_to_monitor
    at_rest "Ладотон, JACK port" "$E2E_PROGRAM_PID"

    launch_peer jack-keyboard -a monitor:input
    e2e_wait_for 30 "jack-keyboard's window" find_titled "$peer" 'jack-keyboard'
    e2e_wait_for 20 "jack-keyboard's connection to the monitor" connected_to_monitor
    at_rest "jack-keyboard, JACK port" "$peer"

    E2E_BUILTIN_SYNTH=1 LADOTON_SYNTH_AUDIO=jack e2e_start_program
    e2e_wait_for 20 "Ладотон's synthesizer on JACK" e2e_jack_has_port "Ладотон:left"
    at_rest "Ладотон, built-in synthesizer on JACK" "$E2E_PROGRAM_PID"

    launch_peer vmpk
    e2e_wait_for 30 "VMPK's window" find_titled "$peer" '^Virtual MIDI Piano Keyboard'
    e2e_wait_for 20 "VMPK's FluidSynth on JACK" eval 'jack_lsp | grep -q "^fluidsynth.*:left"'
    synth=$(jack_lsp | grep -m1 '^fluidsynth.*:left' | cut -d: -f1)
    jack_connect "$synth:left" system:playback_1 2>/dev/null || true
    jack_connect "$synth:right" system:playback_2 2>/dev/null || true
    at_rest "VMPK, FluidSynth on JACK" "$peer"
done
echo "sum of the three runs:"
for key in "Ладотон, JACK port" "jack-keyboard, JACK port" \
    "Ладотон, built-in synthesizer on JACK" "VMPK, FluidSynth on JACK"; do
    printf '  %5.2f %%  %s\n' "${total[$key]}" "$key"
done
