#!/usr/bin/env bash
# Without a JACK server (and, on most test machines, without an ALSA sequencer) the program
# starts, says once that it cannot open a MIDI device, keeps working, stays quiet on the terminal
# and never starts a JACK server of its own.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_xvfb
# A server name that nothing runs; libjack would start a server by this name if allowed to.
export JACK_DEFAULT_SERVER="ladoton-e2e-$$-$RANDOM"
e2e_launch_program

if [[ ! -e /dev/snd/seq ]]; then
    # No device at all: a message box says so, over the window.
    e2e_close_start_box
fi
e2e_wait_main_window

# The menu lists nothing, or the sequencer's ports; either way the window goes on working.
e2e_right_click_surface
e2e_sleep 1
e2e_keys "$KEY_ESCAPE"
e2e_wait_for 10 "the device menu to close" menu_gone
e2e_focus_window
e2e_keys "$KEY_Q" @100 "$KEY_W" @100 "$KEY_X" @100 "$KEY_SPACE" @500 "$KEY_SPACE"

e2e_jack_ready && e2e_fail "a JACK server named $JACK_DEFAULT_SERVER was started"
e2e_exit_program
e2e_jack_ready && e2e_fail "a JACK server named $JACK_DEFAULT_SERVER was started"
e2e_expect_quiet_program
e2e_log "PASS"
