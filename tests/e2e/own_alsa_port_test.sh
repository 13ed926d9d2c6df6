#!/usr/bin/env bash
# The program's own ALSA port: chosen from the device menu, an ALSA sequencer client "Ладотон"
# offers a readable port, and what the program sends reaches aseqdump connected to it. The
# monitor disconnected and connected again while a key is held gets the next notes. Needs an
# ALSA sequencer (/dev/snd/seq); without one the test is skipped.
source "$(dirname "$0")/lib.sh"
if [[ ! -e /dev/snd/seq ]]; then
    e2e_log "SKIP: no ALSA sequencer here (/dev/snd/seq is missing; load snd-seq to run this)"
    exit 77
fi
e2e_init "$@"
e2e_alsa_sequencer || e2e_fail "/dev/snd/seq exists but cannot be opened"
command -v aseqdump >/dev/null || e2e_fail "aseqdump is missing (package alsa-utils)"
readonly OWN_PORT="Ладотон:0"
e2e_start_xvfb
e2e_start_jack
e2e_start_program

own_port_listed() { aconnect -i | grep -q "'Ладотон'"; }
e2e_choose_own_alsa_port
e2e_wait_for 10 "the client Ладотон" own_port_listed

stdbuf -oL aseqdump -p "$OWN_PORT" </dev/null >"$E2E_DIR/aseqdump.log" 2>"$E2E_DIR/aseqdump.err" &
e2e_track $!
# aseqdump has subscribed to the port once it says it waits.
e2e_wait_for 10 "aseqdump to connect" grep -q "Waiting for data" "$E2E_DIR/aseqdump.log"

# aseqdump prints "SOURCE  Note on  CHANNEL, note N, velocity V" (channel 1 is its 0), and a
# note-on of velocity 0 as "Note off" or as a note-on, depending on its version.
pressed() { grep -Eq "Note on +0, note $1, velocity 60\$" "$E2E_DIR/aseqdump.log"; }
released() {
    grep -Eq "Note (on +0, note $1, velocity 0|off +0, note $1)\$" "$E2E_DIR/aseqdump.log"
}
e2e_keys "+$KEY_Q" @200 "-$KEY_Q"
e2e_wait_for 10 "Q pressed at aseqdump" pressed 48
e2e_wait_for 10 "Q released at aseqdump" released 48

monitor_address=$(aconnect -o | awk '/client [0-9]+: .aseqdump/ { sub(":", "", $2); print $2 ":0" }')
[[ -n $monitor_address ]] || e2e_fail "cannot find aseqdump's port"
e2e_keys "+$KEY_Q"
for ((round = 0; round < 10; round++)); do
    aconnect -d "$OWN_PORT" "$monitor_address" || e2e_fail "cannot disconnect aseqdump"
    e2e_keys "$KEY_X" @20 "$KEY_UP"
    aconnect "$OWN_PORT" "$monitor_address" || e2e_fail "cannot connect aseqdump again"
    e2e_keys "$KEY_X" @20 "$KEY_DOWN"
done
e2e_program_alive || e2e_fail "the program ended while aseqdump came and went"
e2e_keys "+$KEY_W" @200 "-$KEY_W" "-$KEY_Q"
e2e_wait_for 10 "W pressed at aseqdump" pressed 50
e2e_wait_for 10 "W released at aseqdump" released 50

e2e_exit_program
e2e_expect_quiet_program
e2e_log "PASS"
