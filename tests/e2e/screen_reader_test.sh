#!/usr/bin/env bash
# The program under Orca itself, as a user who cannot see the screen hears it: a private
# session bus, the AT-SPI bus it starts, Orca with its own HOME and runtime folder, speaking
# through speech-dispatcher to ALSA's null device. Orca's debug log, written line by line, is
# the ear: each utterance is a line "SPEECH OUTPUT: '…'". C E G from the PC keys and A C E
# from the MIDI input are each told once with their triad, and the tree shows their keys
# pressed (accessible_tree.py); Up tells the new instrument; a fast run of eight keys is at
# most two utterances; a key held for 2 s is echoed once. Skipped where Orca or what it needs
# is missing.
here=$(dirname "$(realpath "$0")")
source "$here/lib.sh"
missing=$(e2e_screen_reader_missing)
if [[ -n $missing ]]; then
    e2e_log "SKIP: the screen reader's check needs $missing (scripts/install-deps installs them)"
    exit 77
fi
E2E_TIMEOUT=${E2E_TIMEOUT:-200}
e2e_init "$@"
readonly KEY_E_CODE=26 KEY_T=28

# Utterances that name notes: a syllable with its octave.
chords() { e2e_utterances | grep -E '(^| )(до|ре|ми|фа|соль|ля|си)(-диез)?[0-9]'; }

check_tree() {
    /usr/bin/python3 "$here/accessible_tree.py" ladoton "$@" 2>"$E2E_DIR/tree.err" ||
        e2e_fail "the accessible tree: $(cat "$E2E_DIR/tree.err")"
}

e2e_start_xvfb
e2e_start_jack
e2e_start_midi_dump monitor
e2e_start_midi_source keys
e2e_start_screen_reader
e2e_mark
e2e_start_program
e2e_wait_midi 10 monitor 'c0 00'
e2e_wait_for 30 "Orca to read the window" e2e_said 'Ладотон'
e2e_sleep 1

# C E G struck key by key: one utterance, the notes then the triad; its keys are pressed.
e2e_mark
e2e_keys "+$KEY_Q" @40 "+$KEY_E_CODE" @40 "+$KEY_T"
e2e_wait_midi 10 monitor '90 37 3c'
e2e_wait_for 10 "C E G to be told" e2e_said '^до2 ми2 соль2, до-мажор'
check_tree "C2, до2" "E2, ми2" "G2, соль2"
e2e_keys "-$KEY_T" "-$KEY_E_CODE" "-$KEY_Q"
e2e_sleep 1
[[ $(chords | grep -c 'до-мажор') -eq 1 ]] || e2e_fail "C E G told $(chords | grep -c 'до-мажор') times"
check_tree
e2e_log "heard for C E G:"
e2e_utterances | sed 's/^/    /' >&2

# The same from the MIDI input, A C E as a minor triad.
e2e_choose_input_from_end 1
e2e_wait_for 10 "the source connected" eval 'jack_lsp -c keys:output | grep -qx "   Ладотон:input"'
e2e_sleep 1
e2e_mark
e2e_send keys "90 39 50" "90 3c 50" "90 40 50"
e2e_wait_midi 10 monitor '90 40 50'
e2e_wait_for 10 "A C E to be told" e2e_said '^ля2 до3 ми3, ля-минор'
check_tree "A2, ля2" "C3, до3" "E3, ми3"
e2e_send keys "80 39 00" "80 3c 00" "80 40 00"
e2e_wait_midi 10 monitor '90 40 00'

# Up: the new instrument.
e2e_mark
e2e_keys "$KEY_UP"
e2e_wait_for 10 "the instrument to be told" e2e_said '^Инструмент [0-9]+'

# A fast run of eight keys, the last held: at most two utterances of notes.
e2e_sleep 1
e2e_mark
e2e_keys 24 @25 25 @25 26 @25 27 @25 28 @25 29 @25 30 @25 "+31"
e2e_wait_for 10 "the run's last note to be told" e2e_said '^до3\.?$'
e2e_keys -31
e2e_sleep 1
runs=$(chords | wc -l)
((runs >= 1 && runs <= 2)) || e2e_fail "the run was told in $runs utterances: $(chords | tr '\n' '|')"

# A key held for 2 s, which plays one note, is echoed once.
e2e_mark
struck() { e2e_midi_bytes monitor | grep -c '^90 37 3c$'; }
before=$(struck)
e2e_keys "+$KEY_T" @2000 "-$KEY_T"
e2e_sleep 1
echoes=$(e2e_utterances | grep -cx 't *' || true)
[[ $echoes -eq 1 ]] || e2e_fail "a key held for 2 s was echoed $echoes times"
(($(struck) == before + 1)) || e2e_fail "the held key played $(($(struck) - before)) times"

e2e_exit_program
e2e_stop_screen_reader
e2e_log "PASS"
