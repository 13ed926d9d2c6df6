#!/usr/bin/env bash
# The live path from a MIDI source to a JACK device. A burst far greater than the queues on the
# way still ends its note. The JACK server stops and starts again under the program: its ports
# come back by themselves, the device chosen (a JACK port) and the MIDI input's source are
# connected again as soon as they are there, the device gets the instrument again, and a note
# from the source reaches it.
# Then the same for the built-in synthesizer on JACK: its audio ports come back and it sounds.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
readonly OWN_INPUT="Ладотон:input" OWN_OUTPUT="Ладотон:output"

connected() { jack_lsp -c "$1" 2>/dev/null | grep -qxF "   $2"; }
both_connected() { connected keys:output "$OWN_INPUT" && connected "$OWN_OUTPUT" monitor:input; }

# restart_server COMMAND...: stops the server, starts it again under its name, then runs COMMAND.
restart_server() {
    local server=$JACK_DEFAULT_SERVER
    e2e_stop_jack
    e2e_sleep 0.5
    e2e_start_jack "$server"
    "$@"
}

e2e_start_xvfb
e2e_start_jack
e2e_start_midi_dump monitor
e2e_start_midi_source keys
printf 'keys:output\n' >"$E2E_DIR/midi-input.txt"
e2e_start_program # device 0: the first JACK port, the monitor's
e2e_wait_midi 10 monitor 'c0 00'
e2e_wait_for 10 "the source connected at start" both_connected
e2e_send keys "90 30 40"
e2e_wait_midi 10 monitor '90 30 40'

# A burst far greater than the queues on the way, into a sink that keeps up with anything: its
# note still ends there, and nothing is left sounding.
mkfifo "$E2E_DIR/tally.ask"
"$(dirname "$E2E_KEYS")/ladoton_midi_tally" tally <"$E2E_DIR/tally.ask" >"$E2E_DIR/tally.log" 2>&1 &
e2e_track $!
exec {TALLY}>"$E2E_DIR/tally.ask"
e2e_wait_for 10 "the port tally:input" e2e_jack_has_port tally:input
jack_connect "$OWN_OUTPUT" tally:input || e2e_fail "cannot connect the tally"
tally() {
    echo >&"$TALLY"
    sleep 0.2
    tail -n 1 "$E2E_DIR/tally.log"
}
e2e_send keys "90 3c 40"
e2e_wait_for 10 "the note at the sink" eval '[[ $(tally) == "1 1" ]]'
# Clicks on the C key hold the window's thread for 200 ms each while the burst comes, so that
# the window takes thousands of messages from the input at once.
{
    for ((value = 0; value < 20000; value++)); do
        printf 'b0 01 %02x\n' $((value % 128))
    done
    echo "80 3c 00"
} >&"${E2E_SOURCE_FDS[keys]}" &
burst=$!
menu_height=$(($(e2e_window_height) - 320))
for ((click = 0; click < 6; click++)); do
    timeout 10 xdotool mousemove --window "$E2E_WINDOW" 56 $((menu_height + 192)) click 1 ||
        e2e_fail "cannot click the C key"
    e2e_sleep 0.25
done
wait "$burst"
nothing_sounds() { [[ $(tally) == *" 0" ]]; }
e2e_wait_for 20 "the burst's note ended at the sink" nothing_sounds
e2e_log "the sink got $(tally | cut -d' ' -f1) messages of the burst's 20002 and the clicks' 12"
jack_disconnect "$OWN_OUTPUT" tally:input

# A note held by the source when the server goes; the monitor and the source go with it.
e2e_send keys "90 34 40"
e2e_wait_midi 10 monitor '90 34 40'
# The peers' old processes go first: one left running would take the signals of the new
# client of its name, as libjack names a client's semaphore after the server and the client.
peers_back() {
    e2e_stop_pid "${E2E_MONITOR_PIDS[monitor]}"
    e2e_stop_pid "${E2E_MONITOR_PIDS[keys]}"
    e2e_start_midi_dump monitor
    e2e_start_midi_source keys
}
restart_server peers_back
back=$EPOCHREALTIME
e2e_wait_for 10 "the device and the source connected again" both_connected
e2e_log "connected again $(bc <<<"($EPOCHREALTIME - $back) * 1000 / 1") ms after the peers were back"
e2e_wait_midi 10 monitor 'c0 00' # the instrument, which the new monitor missed
e2e_send keys "90 37 50" "80 37 00"
e2e_wait_midi 10 monitor '90 37 50'
e2e_wait_midi 10 monitor '90 37 00'
# The note held when the server went ended with it: its note-off now reaches nobody twice.
e2e_send keys "80 34 00"
e2e_sleep 0.3
[[ $(e2e_midi_bytes monitor | grep -c '^90 34') -eq 0 ]] || e2e_fail "a note of the old server came"
e2e_exit_program
e2e_expect_quiet_program

# The built-in synthesizer on JACK.
E2E_BUILTIN_SYNTH=1 LADOTON_SYNTH_AUDIO=jack e2e_start_program
e2e_wait_for 20 "the synthesizer's JACK output" e2e_jack_has_port "Ладотон:left"
restart_server :
back=$EPOCHREALTIME
e2e_wait_for 10 "the synthesizer's JACK output again" e2e_jack_has_port "Ладотон:left"
e2e_log "its audio ports back $(bc <<<"($EPOCHREALTIME - $back) * 1000 / 1") ms after the server"
e2e_log "heard $(e2e_pitch_of_q Ладотон:left) Hz for Q after the restart"
e2e_exit_program
e2e_expect_quiet_program
e2e_log "PASS"
