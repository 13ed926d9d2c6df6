#!/usr/bin/env bash
# A key held while the device menu opens: the menu takes the keyboard and the key's release goes
# to it, so the program ends the note when the menu opens. Exactly one note-on and one release
# reach the device, and the next press of the key plays again. The same with a menu of the menu
# bar, the key held past the auto-repeat delay: the repeats X sends to the open menu start no
# note of their own.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_playing_to monitor

notes() { e2e_midi_bytes monitor | grep -v '^c' || true; }

e2e_keys "+$KEY_Q" @300
e2e_right_click_surface
e2e_wait_for 10 "the device menu" menu_shown
e2e_sleep 0.5
e2e_keys "-$KEY_Q" @300 "$KEY_ESCAPE"
e2e_wait_for 10 "the device menu to close" menu_gone
e2e_sleep 0.5
expected="90 30 3c
90 30 00"
received=$(notes)
if [[ $received != "$expected" ]]; then
    diff <(echo "$expected") <(echo "$received") >&2 || true
    e2e_fail "Q held over the device menu: not one note and one release (diff: expected, received)"
fi

e2e_focus_window
e2e_keys "$KEY_Q"
e2e_sleep 0.5
received=$(notes)
[[ $received == "$expected"$'\n'"$expected" ]] || e2e_fail "the next press of Q did not play: $received"

e2e_keys "+$KEY_Q" @300
timeout 10 xdotool mousemove --window "$E2E_WINDOW" 20 8 click 1 || e2e_fail "cannot open the menu"
e2e_wait_for 10 "the File menu" menu_shown
# Well past X's auto-repeat delay (660 ms unless set otherwise).
e2e_sleep 1.5
e2e_keys "-$KEY_Q" @300 "$KEY_ESCAPE"
e2e_wait_for 10 "the File menu to close" menu_gone
e2e_sleep 0.5
received=$(notes)
if [[ $received != "$expected"$'\n'"$expected"$'\n'"$expected" ]]; then
    diff <(printf '%s\n' "$expected" "$expected" "$expected") <(echo "$received") >&2 || true
    e2e_fail "Q held over the File menu: not one note and one release (diff: expected, received)"
fi

e2e_program_alive || e2e_fail "the program ended"
e2e_expect_quiet_program
e2e_log "PASS"
