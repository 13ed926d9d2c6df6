#!/usr/bin/env bash
# The settings file, key reassignment, the key help and the About box with real key presses: the
# settings file in the folder the program starts in sets amplitude, instrument, octave and
# transposition; Ctrl+click on the "C" key and W in the dialog make W play C as well as D; F1 is
# played and opens the key help; the About box opens from the menu and Escape closes it; Exit
# leaves the settings file as it was. With E2E_SHOTS=FOLDER, pictures of the three boxes go there.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_xvfb
e2e_start_jack

readonly KEY_CONTROL_L=37 KEY_F1=67 KEY_RIGHT=114

# box_window TITLE: the visible window of the program with exactly that title. The names are
# compared here: xdotool's own pattern match is not reliable with Cyrillic titles.
box_window() {
    local window
    for window in $(xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" 2>/dev/null); do
        if [[ $(xdotool getwindowname "$window" 2>/dev/null) == "$1" ]]; then
            echo "$window"
            return
        fi
    done
}

box_shown() { [[ -n $(box_window "$1") ]]; }

# wait_box TITLE: waits for the box and gives it the keyboard, as a window manager would.
wait_box() {
    e2e_wait_for 10 "the box '$1'" box_shown "$1"
    timeout 10 xdotool windowfocus --sync "$(box_window "$1")" || e2e_fail "cannot focus '$1'"
}

# picture NAME: with E2E_SHOTS set, a picture of the screen as NAME.png there.
picture() {
    if [[ -n ${E2E_SHOTS:-} ]]; then
        e2e_sleep 0.5
        e2e_screenshot "$E2E_SHOTS/$1.png"
    fi
}

# close_box TITLE KEY
close_box() {
    timeout 10 xdotool windowfocus --sync "$(box_window "$1")" || e2e_fail "cannot focus '$1'"
    e2e_keys "$2"
    e2e_wait_for 10 "the box '$1' to close" eval "! box_shown '$1'"
}

notes_received() { e2e_midi_bytes monitor | grep -c '^90' || true; }

# Amplitude 100, instrument 30, octave 5, transposition 2.
printf '\x18\0\0\0\x64\0\0\0\x1e\0\0\0\x05\0\0\0\x02\0\0\0\0\0\0\0' >"$E2E_DIR/setting.dat"
cp "$E2E_DIR/setting.dat" "$E2E_DIR/setting.before"

e2e_start_midi_dump monitor
e2e_start_program
e2e_choose_last_jack_port
e2e_wait_midi 10 monitor 'c0 1d'

# Q is C: 0 + 2 + 12 * 5 = 62.
e2e_keys "$KEY_Q"
e2e_wait_midi 10 monitor '90 3e 64'

# Ctrl+click on the lower half of the "C" key, below the black keys.
menu_height=$(($(e2e_window_height) - 320))
e2e_keys "+$KEY_CONTROL_L"
timeout 10 xdotool mousemove --window "$E2E_WINDOW" 56 $((menu_height + 192)) click 1 ||
    e2e_fail "cannot click the C key"
e2e_keys "-$KEY_CONTROL_L"
wait_box 'Переназначение клавиш'
e2e_keys "$KEY_W"
picture reassignment
close_box 'Переназначение клавиш' "$KEY_ESCAPE"

# W plays C (62) and its own D (64), and its release ends both; Q plays nothing any more.
e2e_focus_window
before=$(notes_received)
e2e_keys "$KEY_W" @300 "$KEY_Q" @300
e2e_wait_midi 10 monitor '90 40 00'
e2e_sleep 0.5
received=$(e2e_midi_bytes monitor | grep '^90' | tail -n +$((before + 1)))
expected="90 3e 64
90 40 64
90 3e 00
90 40 00"
[[ $received == "$expected" ]] || e2e_fail "W and Q after the reassignment gave: $received"

e2e_keys "$KEY_F1"
wait_box 'Используемые клавиши'
picture key-help
close_box 'Используемые клавиши' "$KEY_RETURN"

# Помощь is the third menu; Up from wherever the menu starts goes to its last item.
timeout 10 xdotool mousemove --window "$E2E_WINDOW" 20 8 click 1 || e2e_fail "cannot open the menu"
e2e_wait_for 10 "the File menu" menu_shown
e2e_keys "$KEY_RIGHT" @200 "$KEY_RIGHT" @200 "$KEY_UP" @200 "$KEY_RETURN"
wait_box 'О программе '
picture about
close_box 'О программе ' "$KEY_ESCAPE"

e2e_exit_program
cmp -s "$E2E_DIR/setting.dat" "$E2E_DIR/setting.before" || e2e_fail "Exit changed the settings"
e2e_expect_quiet_program
e2e_log "PASS"
