#!/usr/bin/env bash
# The program reaches JACK through one client of its own, "Ладотон", with one output port beside
# its MIDI input port: a
# burst of messages (X silences the channel with 128 note-offs, more than one period takes) all
# arrive in order; opening the device again reuses the port; at exit the client leaves no port.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_playing_to monitor

our_ports() { jack_lsp 2>/dev/null | grep '^Ладотон' || true; }
[[ $(our_ports | sort | paste -sd' ') == "Ладотон:input Ладотон:output" ]] || e2e_fail "the program's JACK ports: $(our_ports | paste -sd' ')"
jack_lsp -c monitor:input | grep -qx '   Ладотон:output' || e2e_fail "the monitor is not fed by Ладотон:output"

silenced() { [[ $(e2e_midi_bytes monitor | grep -c '^90 .. 00$') -ge 128 ]]; }
e2e_keys "$KEY_X"
e2e_wait_for 10 "128 note-offs" silenced
expected=$(for ((note = 0; note < 128; note++)); do printf '90 %02x 00\n' "$note"; done)
[[ $(e2e_midi_bytes monitor | grep '^90 .. 00$') == "$expected" ]] ||
    e2e_fail "the note-offs did not arrive whole and in order"

e2e_choose_last_device
e2e_wait_for 10 "the program change after opening again" \
    eval '[[ $(e2e_midi_bytes monitor | grep -c "^c0 00$") -ge 2 ]]'
[[ $(our_ports | sort | paste -sd' ') == "Ладотон:input Ладотон:output" ]] || e2e_fail "after opening again: $(our_ports | paste -sd' ')"

e2e_exit_program
[[ -z $(our_ports) ]] || e2e_fail "ports left after exit: $(our_ports | paste -sd' ')"
e2e_expect_quiet_program
e2e_log "PASS"
