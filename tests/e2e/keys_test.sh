#!/usr/bin/env bash
# Playing from the PC keyboard by physical key position: Q, 2, W, Tab, keypad 6 and Enter, then
# Q held for a second, give exactly their note-ons and releases on the wire, first with the US
# layout and then with the Russian one, whose keys give Cyrillic keysyms.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_xvfb
e2e_set_num_lock
e2e_start_jack

# With octave 4, transposition 0, channel 1 and amplitude 60: Q is C (48), 2 is 49, W is 50,
# Tab is 47, keypad 6 is 83 and Enter is 69. Each release is a note-on with velocity 0, and the
# held Q sounds once however often the key repeats.
expected="90 30 3c
90 30 00
90 31 3c
90 31 00
90 32 3c
90 32 00
90 2f 3c
90 2f 00
90 53 3c
90 53 00
90 45 3c
90 45 00
90 30 3c
90 30 00"

# play_and_check MONITOR: types the phrase and compares everything but program changes that
# MONITOR received.
play_and_check() {
    local monitor=$1 received
    e2e_keys "$KEY_Q" @150 "$KEY_2" @150 "$KEY_W" @150 "$KEY_TAB" @150 "$KEY_KP_6" @150 \
        "$KEY_RETURN" @150 "+$KEY_Q" @1000 "-$KEY_Q"
    e2e_wait_for 10 "the release of the held Q at $monitor" \
        eval '[[ $(e2e_midi_bytes "$monitor" | grep -cx "90 30 00") -ge 2 ]]'
    e2e_sleep 0.5
    received=$(e2e_midi_bytes "$monitor" | grep -v '^c')
    if [[ $received != "$expected" ]]; then
        diff <(echo "$expected") <(echo "$received") >&2 || true
        e2e_fail "$monitor did not receive the expected notes (diff: expected, received)"
    fi
}

# start_program_on MONITOR: a fresh program whose output is the new monitor MONITOR.
start_program_on() {
    e2e_start_midi_dump "$1"
    e2e_start_program
    e2e_choose_last_jack_port
    e2e_wait_midi 10 "$1" 'c0 00'
}

start_program_on us
play_and_check us

# The layout changes while the program runs, as a user switches it.
e2e_set_layout ru Cyrillic_shorti
e2e_set_num_lock
e2e_start_midi_dump ru_switched
e2e_choose_last_jack_port
e2e_wait_midi 10 ru_switched 'c0 00'
play_and_check ru_switched

# And a program that starts with the Russian layout, with its monitor the only JACK port.
e2e_exit_program
e2e_stop_midi_dump us
e2e_stop_midi_dump ru_switched
start_program_on ru
play_and_check ru

e2e_expect_quiet_program
e2e_log "PASS"
