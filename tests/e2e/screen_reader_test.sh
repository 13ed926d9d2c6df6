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
missing=()
for tool in orca dbus-launch speech-dispatcher /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
if ((${#missing[@]} > 0)); then
    e2e_log "SKIP: the screen reader's check needs ${missing[*]} (scripts/install-deps installs them)"
    exit 77
fi
E2E_TIMEOUT=${E2E_TIMEOUT:-200}
e2e_init "$@"
readonly SENDER=$(dirname "$E2E_KEYS")/ladoton_midi_send
readonly ORCA_LOG=$E2E_DIR/orca-debug.log
readonly KEY_E_CODE=26 KEY_T=28 KEY_CONTROL_L=37

# A user of its own: nothing of the machine's session, settings or sound server is used.
private_session() {
    export HOME=$E2E_DIR/home XDG_RUNTIME_DIR=$E2E_DIR/runtime
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SPEECHD_ADDRESS
    mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    # speech-dispatcher's default output is PulseAudio, missing here; without an output its
    # speech stalls and Orca with it.
    cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF
}

start_session_bus() {
    local address
    address=$(dbus-launch --sh-syntax) || e2e_fail "no session bus"
    eval "$address"
    e2e_track "$DBUS_SESSION_BUS_PID"
}

start_orca() {
    /usr/bin/python3 "$here/orca_line_log.py" "$ORCA_LOG" </dev/null >"$E2E_DIR/orca.log" 2>&1 &
    e2e_track $!
    e2e_wait_for 60 "Orca to start" said "Screen reader on"
}

# said REGEX: Orca has said something matching REGEX since the mark.
said() { utterances | grep -qE "$1"; }
# utterances: what Orca said since the last mark, one utterance a line.
utterances() {
    tail -n "+$((MARK + 1))" "$ORCA_LOG" 2>/dev/null |
        sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)' *[[{].*$/\1/p"
}
mark() { MARK=$(wc -l <"$ORCA_LOG"); }
MARK=0
# Utterances that name notes: a syllable with its octave.
chords() { utterances | grep -E '(^| )(до|ре|ми|фа|соль|ля|си)(-диез)?[0-9]'; }

check_tree() {
    /usr/bin/python3 "$here/accessible_tree.py" ladoton "$@" 2>"$E2E_DIR/tree.err" ||
        e2e_fail "the accessible tree: $(cat "$E2E_DIR/tree.err")"
}

private_session
e2e_start_xvfb
e2e_start_jack
e2e_start_midi_dump monitor
rm -f "$E2E_DIR/send"
mkfifo "$E2E_DIR/send"
"$SENDER" jack keys <"$E2E_DIR/send" >>"$E2E_DIR/sender.log" 2>&1 &
e2e_track $!
exec {SEND}>"$E2E_DIR/send"
e2e_wait_for 10 "the port keys:output" e2e_jack_has_port keys:output
start_session_bus
start_orca
mark
e2e_start_program
e2e_wait_midi 10 monitor 'c0 00'
e2e_wait_for 30 "Orca to read the window" said 'Ладотон'
e2e_sleep 1

# C E G struck key by key: one utterance, the notes then the triad; its keys are pressed.
mark
e2e_keys "+$KEY_Q" @40 "+$KEY_E_CODE" @40 "+$KEY_T"
e2e_wait_midi 10 monitor '90 37 3c'
e2e_wait_for 10 "C E G to be told" said '^до2 ми2 соль2, до-мажор'
check_tree "C2, до2" "E2, ми2" "G2, соль2"
e2e_keys "-$KEY_T" "-$KEY_E_CODE" "-$KEY_Q"
e2e_sleep 1
[[ $(chords | grep -c 'до-мажор') -eq 1 ]] || e2e_fail "C E G told $(chords | grep -c 'до-мажор') times"
check_tree
e2e_log "heard for C E G:"
utterances | sed 's/^/    /' >&2

# The same from the MIDI input, A C E as a minor triad.
e2e_choose_input_from_end 1
e2e_wait_for 10 "the source connected" eval 'jack_lsp -c keys:output | grep -qx "   Ладотон:input"'
e2e_sleep 1
mark
printf '%s\n' "90 39 50" "90 3c 50" "90 40 50" >&"$SEND"
e2e_wait_midi 10 monitor '90 40 50'
e2e_wait_for 10 "A C E to be told" said '^ля2 до3 ми3, ля-минор'
check_tree "A2, ля2" "C3, до3" "E3, ми3"
printf '%s\n' "80 39 00" "80 3c 00" "80 40 00" >&"$SEND"
e2e_wait_midi 10 monitor '90 40 00'

# Up: the new instrument.
mark
e2e_keys "$KEY_UP"
e2e_wait_for 10 "the instrument to be told" said '^Инструмент [0-9]+'

# A fast run of eight keys, the last held: at most two utterances of notes.
e2e_sleep 1
mark
e2e_keys 24 @25 25 @25 26 @25 27 @25 28 @25 29 @25 30 @25 "+31"
e2e_wait_for 10 "the run's last note to be told" said '^до3\.?$'
e2e_keys -31
e2e_sleep 1
runs=$(chords | wc -l)
((runs >= 1 && runs <= 2)) || e2e_fail "the run was told in $runs utterances: $(chords | tr '\n' '|')"

# A key held for 2 s, which plays one note, is echoed once.
mark
struck() { e2e_midi_bytes monitor | grep -c '^90 37 3c$'; }
before=$(struck)
e2e_keys "+$KEY_T" @2000 "-$KEY_T"
e2e_sleep 1
echoes=$(utterances | grep -cx 't *' || true)
[[ $echoes -eq 1 ]] || e2e_fail "a key held for 2 s was echoed $echoes times"
(($(struck) == before + 1)) || e2e_fail "the held key played $(($(struck) - before)) times"

e2e_exit_program
e2e_log "PASS"
