#!/usr/bin/env bash
# CPU use of the program while it loops a recorded phrase: the program on a private Xvfb,
# playing to a JACK MIDI monitor on a private JACK dummy server (48 kHz, 256 frames as a desktop
# would run it, like the idle script; the tests' 128 would double the JACK thread's wake-ups),
# a phrase of three notes recorded with real key events and played with Space; then the
# scheduler run time of all the program's threads (schedstat: short wake-ups included, which
# the clock-tick sampled user and system times miss) over SECONDS (30 unless given) as a share
# of one core.
# Usage: tests/bench/looping_cpu.sh path/to/ladoton [SECONDS]
source "$(dirname "$(realpath "$0")")/../e2e/lib.sh"
seconds=${2:-30}
export E2E_JACK_PERIOD=256
E2E_TIMEOUT=$((seconds + 120))
e2e_init "$(realpath "$1")" "$(dirname "$(realpath "$1")")/tests/e2e/ladoton_xtest_keys"
e2e_record_phrase_and_play
e2e_sleep 2

run_ns() { cat "/proc/$E2E_PROGRAM_PID"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
notes() { e2e_midi monitor | grep -c ' 9'; }
before=$(run_ns)
notes_before=$(notes)
sleep "$seconds"
after=$(run_ns)
notes_after=$(notes)
e2e_exit_program
awk -v used=$((after - before)) -v s="$seconds" \
    -v played=$((notes_after - notes_before)) \
    'BEGIN { printf "looping for %d s: %d note messages, CPU %.2f %% of one core\n", s, played, 100 * used / 1e9 / s }'
