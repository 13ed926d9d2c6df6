#!/usr/bin/env bash
# Playing from a MIDI keyboard on the ALSA sequencer: the source, an ALSA client "keys", is
# chosen in the device menu and connected to the port "input" of the client «Ладотон»; its
# C E G reach the device on the chosen channel with their velocities, its note-offs end them,
# and a note held when the source goes away is ended. Needs an ALSA sequencer (/dev/snd/seq);
# without one the test is skipped.
source "$(dirname "$0")/lib.sh"
if [[ ! -e /dev/snd/seq ]]; then
    e2e_log "SKIP: no ALSA sequencer here (/dev/snd/seq is missing; load snd-seq to run this)"
    exit 77
fi
e2e_init "$@"
e2e_alsa_sequencer || e2e_fail "/dev/snd/seq exists but cannot be opened"
readonly SENDER=$(dirname "$E2E_KEYS")/ladoton_alsa_midi_send
send() { printf '%s\n' "$@" >&"$SEND"; }
connected() { aconnect -l | grep -A3 "'keys'" | grep -q 'Connecting To:.*'; }

e2e_start_xvfb
e2e_start_jack
e2e_start_midi_dump monitor
mkfifo "$E2E_DIR/send"
"$SENDER" keys <"$E2E_DIR/send" >"$E2E_DIR/sender.log" 2>&1 &
SOURCE_PID=$!
e2e_track "$SOURCE_PID"
exec {SEND}>"$E2E_DIR/send"
e2e_wait_for 10 "the client keys" eval "aconnect -i | grep -q \"'keys'\""
e2e_start_program
e2e_wait_midi 10 monitor 'c0 00'
e2e_wait_for 10 "the input port" eval "aconnect -o | grep -A2 \"'Ладотон'\" | grep -q \"'input'\""

# The ALSA sources come first, by client number; "keys" is the newest client, and no JACK
# program here has a MIDI output.
e2e_choose_input_from_end 1
e2e_wait_for 10 "the source connected" connected
send "94 30 28" "94 34 50" "94 37 7f"
e2e_wait_midi 10 monitor '90 30 28'
e2e_wait_midi 10 monitor '90 34 50'
e2e_wait_midi 10 monitor '90 37 7f'
send "84 30 00" "94 34 00" "84 37 40"
e2e_wait_midi 10 monitor '90 37 00'
[[ $(e2e_midi_bytes monitor | grep -cE '^90 3(0|4|7) 00$') -eq 3 ]] || e2e_fail "not three note-offs"

send "90 3c 64"
e2e_wait_midi 10 monitor '90 3c 64'
exec {SEND}>&-
e2e_stop_pid "$SOURCE_PID"
e2e_wait_midi 10 monitor '90 3c 00'
e2e_exit_program
e2e_expect_quiet_program
e2e_log "PASS"
