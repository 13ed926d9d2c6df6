#!/usr/bin/env bash
# Playing from a MIDI keyboard on JACK, or with E2E_MIDI_SOURCE=alsa on the ALSA sequencer
# (skipped where the machine has none): a source "keys:output" chosen in the device menu is
# connected to Ладотон:input, of the program's one JACK client or its ALSA client. Its C E G (channel 5, three velocities) reach the
# device on the chosen channel with those velocities, its note-offs end them, and Space replays
# them with the amplitude. A note held when the source goes away is ended. The choice is kept
# for the next run, which connects the source at start. E2E_SHOT=FILE.png keeps a picture of
# the window while the chord sounds.
source "$(dirname "$0")/lib.sh"
readonly SYSTEM=${E2E_MIDI_SOURCE:-jack}
if [[ $SYSTEM == alsa && ! -e /dev/snd/seq ]]; then
    e2e_log "SKIP: no ALSA sequencer here (/dev/snd/seq is missing; load snd-seq to run this)"
    exit 77
fi
e2e_init "$@"
start_source() { e2e_start_midi_source keys "$SYSTEM"; }
send() { e2e_send keys "$@"; }
if [[ $SYSTEM == alsa ]]; then
    input_present() { aconnect -o | grep -A2 "'Ладотон'" | grep -q "'input'"; }
    connected() { aconnect -l | grep -A2 "'keys'" | grep -q 'Connecting To'; }
else
    input_present() { e2e_jack_has_port "Ладотон:input"; }
    connected() { jack_lsp -c keys:output | grep -qx '   Ладотон:input'; }
fi

e2e_start_xvfb
e2e_start_jack
e2e_start_midi_dump monitor
start_source
e2e_start_program
e2e_wait_midi 10 monitor 'c0 00'
e2e_wait_for 10 "the input port" input_present

e2e_choose_input_from_end 1
e2e_wait_for 10 "the source connected" connected
send "94 30 28" "94 34 50" "94 37 7f"
e2e_wait_midi 10 monitor '90 30 28'
e2e_wait_midi 10 monitor '90 34 50'
e2e_wait_midi 10 monitor '90 37 7f'
e2e_sleep 0.3
[[ -z ${E2E_SHOT:-} ]] || import -window "$E2E_WINDOW" "$E2E_SHOT"
send "84 30 00" "94 34 00" "84 37 40"
e2e_wait_midi 10 monitor '90 37 00'
[[ $(e2e_midi_bytes monitor | grep -cE '^90 3(0|4|7) 00$') -eq 3 ]] || e2e_fail "not three note-offs"

e2e_keys "$KEY_SPACE"
e2e_wait_midi 10 monitor '90 30 3c'
e2e_wait_midi 10 monitor '90 37 3c'
e2e_wait_midi 10 monitor '90 37 00'
e2e_keys "$KEY_X"

# A note held while its source goes away ends.
send "90 3c 64"
e2e_wait_midi 10 monitor '90 3c 64'
e2e_stop_midi_source keys
e2e_wait_midi 10 monitor '90 3c 00'
e2e_exit_program
e2e_expect_quiet_program
[[ $(cat "$E2E_DIR/midi-input.txt") == keys:output ]] || e2e_fail "the choice was not kept"

start_source
e2e_start_program
e2e_wait_for 10 "the source connected at start" connected
send "90 30 01"
e2e_wait_midi 10 monitor '90 30 01'
e2e_exit_program
e2e_expect_quiet_program
e2e_log "PASS"
