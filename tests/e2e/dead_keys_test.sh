#!/usr/bin/env bash
# Dead keys never eat a key: with a German layout the key at the place of "=" is a dead acute,
# with a French one the key at the place of "[" is a dead circumflex. Each plays the note of its
# place, and the E after it plays E, as with a US layout; no composed character comes of them.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_playing_to monitor

readonly KEY_EQUAL_PLACE=21 KEY_BRACKET_PLACE=34

# use_layout LAYOUT KEY KEYSYM: switches the layout and checks that KEY now gives KEYSYM.
use_layout() {
    local keysym
    setxkbmap "$1" || e2e_fail "setxkbmap $1 failed"
    keysym=$(timeout 10 "$E2E_KEYS" --keysym "$2")
    [[ $keysym == "$3" ]] || e2e_fail "layout $1 did not take: key $2 gives $keysym"
}

# play_and_check WHAT EXPECTED KEYS...: types KEYS (each tapped) and compares the notes received
# since the last check with EXPECTED.
checked=0
play_and_check() {
    local what=$1 expected=$2 received
    shift 2
    local key actions=()
    for key in "$@"; do
        actions+=("$key" @150)
    done
    e2e_keys "${actions[@]}"
    e2e_sleep 0.7
    received=$(e2e_midi_bytes monitor | { grep -v '^c' || true; } | tail -n +$((checked + 1)))
    checked=$((checked + $(grep -c . <<<"$received" || true)))
    if [[ $received != "$expected" ]]; then
        diff <(echo "$expected") <(echo "$received") >&2 || true
        e2e_fail "$what: not the expected notes (diff: expected, received)"
    fi
    [[ $(e2e_window_count) -eq 1 ]] || e2e_fail "$what: a window other than the main one opened"
}

# At octave 4: the place of "=" is F#3 (66), of "[" F3 (65), E is E2 (52); velocity 60.
use_layout de "$KEY_EQUAL_PLACE" dead_acute
play_and_check "German dead acute, then E" "90 42 3c
90 42 00
90 34 3c
90 34 00" "$KEY_EQUAL_PLACE" "$KEY_E"

use_layout fr "$KEY_BRACKET_PLACE" dead_circumflex
play_and_check "French dead circumflex, then E, then =" "90 41 3c
90 41 00
90 34 3c
90 34 00
90 42 3c
90 42 00" "$KEY_BRACKET_PLACE" "$KEY_E" "$KEY_EQUAL_PLACE"

# A dead key pressed twice and a dead key before a space compose on their own elsewhere.
use_layout de "$KEY_EQUAL_PLACE" dead_acute
play_and_check "German dead acute twice" "90 42 3c
90 42 00
90 42 3c
90 42 00" "$KEY_EQUAL_PLACE" "$KEY_EQUAL_PLACE"

e2e_program_alive || e2e_fail "the program ended"
e2e_expect_quiet_program
e2e_log "PASS"
