#!/usr/bin/env bash
# The program's own JACK port: chosen from the device menu, the program's one JACK client
# offers the output port Ладотон:output connected to nothing, and what the program sends from
# then on reaches whoever connects to it, exactly as to a chosen device. A peer disconnected
# and connected again while a key is held and notes go out gets the next notes; the program
# neither hangs nor ends. The port remembers its peers when it is left and chosen again, and
# goes quietly with its server.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
readonly OWN_PORT="Ладотон:output"
e2e_start_xvfb
# The peer comes and goes under bursts of 128 messages: periods of 21 ms leave it room.
E2E_JACK_PERIOD=1024 e2e_start_jack
e2e_start_midi_dump first
e2e_start_program
e2e_wait_midi 20 first 'c0 00'

e2e_choose_own_jack_port
e2e_start_midi_dump peer
e2e_wait_for 10 "the own port" e2e_jack_has_port "$OWN_PORT"
[[ $(jack_lsp | grep -c '^Ладотон') -eq 2 ]] || e2e_fail "the program has more than its input and output"

# Nobody is connected yet: the notes go nowhere, the device left before gets nothing more.
before=$(e2e_midi_bytes first | wc -l)
e2e_keys "$KEY_Q"
e2e_sleep 0.5
[[ $(e2e_midi_bytes first | wc -l) -eq $before ]] || e2e_fail "the device left before got MIDI"

jack_connect "$OWN_PORT" peer:input || e2e_fail "cannot connect the own port"
e2e_keys "+$KEY_Q" @200 "-$KEY_Q"
e2e_wait_midi 10 peer '90 30 3c'
e2e_wait_midi 10 peer '90 30 00'

# Q held; the peer goes and comes back again and again while X silences the channel (128
# messages a press) and the arrow keys change the instrument.
e2e_keys "+$KEY_Q"
for ((round = 0; round < 10; round++)); do
    jack_disconnect "$OWN_PORT" peer:input || e2e_fail "cannot disconnect the peer"
    e2e_keys "$KEY_X" @20 "$KEY_UP"
    jack_connect "$OWN_PORT" peer:input || e2e_fail "cannot connect the peer again"
    e2e_keys "$KEY_X" @20 "$KEY_DOWN"
done
e2e_program_alive || e2e_fail "the program ended while the peer came and went"
received=$(e2e_midi_bytes peer | wc -l)
e2e_keys "+$KEY_W" @200 "-$KEY_W" "-$KEY_Q"
e2e_wait_midi 10 peer '90 32 3c'
e2e_wait_midi 10 peer '90 32 00'
[[ $(e2e_midi_bytes peer | wc -l) -gt $received ]] || e2e_fail "no notes after reconnecting"

# Choosing the own port again keeps its peer, which gets the program change as any device does.
programs=$(e2e_midi_bytes peer | grep -cx 'c0 00')
e2e_choose_own_jack_port
e2e_wait_for 10 "the program change at the peer" \
    eval '[[ $(e2e_midi_bytes peer | grep -cx "c0 00") -gt $programs ]]'
e2e_keys "$KEY_E"
e2e_wait_midi 10 peer '90 34 00'

# So does a choice of another device (the first monitor, above the peer) and back.
e2e_choose_device_from_end $(($(e2e_own_port_count) + 2))
e2e_keys "$KEY_W"
e2e_wait_midi 10 first '90 32 00'
peer_ws=$(e2e_midi_bytes peer | grep -cx "90 32 00")
e2e_choose_own_jack_port
e2e_keys "$KEY_W"
e2e_wait_for 10 "W again at the peer" \
    eval '[[ $(e2e_midi_bytes peer | grep -cx "90 32 00") -gt $peer_ws ]]'
[[ $(e2e_midi_bytes first | grep -cx "90 32 00") -eq 1 ]] || e2e_fail "the first monitor got W again"

# The server goes away with the own port open: what is sent then is dropped without a word.
e2e_stop_jack
for ((press = 0; press < 10; press++)); do
    e2e_keys "$KEY_X" @50
done
e2e_keys "$KEY_Q" @100 "$KEY_W"
# Each X holds the window for 128 pauses of 1 ms; the menu of the exit comes after them.
e2e_sleep 2

e2e_exit_program
e2e_expect_quiet_program
e2e_log "PASS"
