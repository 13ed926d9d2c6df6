#!/usr/bin/env bash
# The device menu with a real JACK server: a right click on the window's surface lists the JACK
# MIDI ports, and choosing one opens it and sends it the program change.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_xvfb
e2e_start_jack

# The program opens device 0 at start. Without an ALSA sequencer the monitor that is there first
# is that device; the one started after the program can only be reached through the menu.
e2e_start_midi_dump first
e2e_start_program
if [[ ! -e /dev/snd/seq ]]; then
    e2e_wait_midi 20 first 'c0 00'
fi
e2e_start_midi_dump second
e2e_sleep 1
[[ -z $(e2e_midi_bytes second) ]] || e2e_fail "the second monitor got MIDI before it was chosen"

# A right click on a control (here a piano key) is the control's own: no menu.
e2e_right_click 20 150
e2e_sleep 1
menu_gone || e2e_fail "a right click on a control opened the menu"

e2e_choose_last_jack_port
e2e_wait_midi 10 second 'c0 00'

# Choosing the checked device again opens it again and sends the program change again; nothing
# goes to the first device any more.
e2e_sleep 1
before=$(e2e_midi_bytes first | wc -l)
e2e_choose_last_jack_port
e2e_wait_for 10 "a second program change at the chosen device" \
    eval '[[ $(e2e_midi_bytes second | grep -cx "c0 00") -ge 2 ]]'
e2e_sleep 1
[[ $(e2e_midi_bytes first | wc -l) -eq $before ]] || e2e_fail "the first device still got MIDI"

e2e_program_alive || e2e_fail "the program ended"
e2e_expect_quiet_program
e2e_log "PASS"
