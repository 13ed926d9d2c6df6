#!/usr/bin/env bash
# CPU use and memory of the program while nothing happens, in three set-ups, each on a private
# Xvfb: a JACK MIDI port open as device 0 and no built-in synthesizer; no sound server at all
# (only the window); the built-in synthesizer rendering silence on a private JACK dummy server
# (48 kHz, 256 frames). For each: 3 s after the window is mapped, the CPU time of all the
# program's threads over SECONDS (10 unless given) as a share of one core, and its PSS.
# Usage: tests/bench/idle_cpu.sh path/to/ladoton [SECONDS]
source "$(dirname "$(realpath "$0")")/../e2e/lib.sh"
seconds=${2:-10}
E2E_TIMEOUT=$((3 * (seconds + 60)))
e2e_init "$(realpath "$1")" "$(dirname "$(realpath "$1")")/tests/e2e/ladoton_xtest_keys"

# Nanoseconds on a CPU of every thread of a process (more precise than the clock ticks).
cpu_ns() {
    cat "/proc/${1:-$E2E_PROGRAM_PID}"/task/*/schedstat 2>/dev/null |
        awk '{ sum += $1 } END { print sum }'
}
pss_kib() { awk '/^Pss:/ { print $2 }' "/proc/$E2E_PROGRAM_PID/smaps_rollup"; }

# measure LABEL [keep]: the figures of the running program 3 s on, then it is ended unless
# "keep" is given. With a MIDI monitor running, its CPU use is shown beside: the cost of a
# minimal JACK client on this machine, which no JACK client can go below.
measure() {
    local before after monitor=${E2E_MONITOR_PIDS[monitor]:-} monitor_before=0 monitor_after=0
    e2e_sleep 3
    before=$(cpu_ns)
    [[ -n $monitor ]] && monitor_before=$(cpu_ns "$monitor")
    e2e_sleep "$seconds"
    after=$(cpu_ns)
    [[ -n $monitor ]] && monitor_after=$(cpu_ns "$monitor")
    e2e_program_alive || e2e_fail "the program ended during: $1"
    awk -v label="$1" -v used=$((after - before)) -v s="$seconds" -v pss="$(pss_kib)" \
        'BEGIN { printf "%-48s CPU %.2f %% of one core, PSS %.1f MiB\n", label, 100 * used / 1e9 / s, pss / 1024 }'
    if [[ -n $monitor ]]; then
        awk -v used=$((monitor_after - monitor_before)) -v s="$seconds" \
            'BEGIN { printf "%-48s CPU %.2f %% of one core\n", "  (the MIDI monitor, for comparison)", 100 * used / 1e9 / s }'
    fi
    [[ ${2:-} == keep ]] || e2e_stop_pid "$E2E_PROGRAM_PID"
}

# The JACK server, started once: 256 frames as a desktop would run it, not the tests' 128.
e2e_start_jack_server() {
    export JACK_DEFAULT_SERVER="ladoton-idle-$$"
    jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 256 \
        </dev/null >>"$E2E_DIR/jackd.log" 2>&1 &
    E2E_JACK_PID=$!
    e2e_track "$E2E_JACK_PID"
    e2e_wait_for 20 "the JACK server" e2e_jack_ready
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
e2e_start_xvfb

# No device opens: the program says so in a message box, which is closed as a user would.
export JACK_DEFAULT_SERVER="ladoton-idle-none-$$"
e2e_launch_program
if [[ ! -e /dev/snd/seq ]]; then
    e2e_close_start_box
fi
e2e_wait_main_window
measure "no sound server, only the window" keep
# The focused edit's caret blinks for the first 10 s after the last input.
measure "the same, once the caret has stopped blinking"

e2e_start_jack_server
e2e_start_midi_dump monitor
e2e_start_program
e2e_wait_for 20 "the program's MIDI connection" eval \
    'jack_lsp -c monitor:input 2>/dev/null | grep -q "^ "'
measure "JACK port open, no built-in synthesizer"

export E2E_BUILTIN_SYNTH=1 LADOTON_SYNTH_AUDIO=jack
e2e_start_program
e2e_wait_for 20 "the synthesizer's JACK output" e2e_jack_has_port "Ладотон:left"
measure "built-in synthesizer rendering silence on JACK"
