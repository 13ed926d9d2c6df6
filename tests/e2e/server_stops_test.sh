#!/usr/bin/env bash
# The JACK server of the open device stops: later sends are dropped without a word, the window
# keeps working (RtMidi's own client would block the program once its queue filled up), and a
# server started again under the same name is found at the next right click.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_playing_to before
e2e_keys "$KEY_Q"
e2e_wait_midi 10 before '90 30 00'

server=$JACK_DEFAULT_SERVER
e2e_stop_jack
# Each X silences the channel with 128 note messages: 25 of them send more than the queue of
# a JACK client holds, all to a server that is gone.
for ((press = 0; press < 25; press++)); do
    e2e_keys "$KEY_X" @50
done
e2e_keys "$KEY_Q" @100 "$KEY_W"

e2e_start_jack "$server"
e2e_start_midi_dump after
e2e_choose_last_jack_port
e2e_wait_midi 20 after 'c0 00'
e2e_keys "$KEY_Q"
e2e_wait_midi 10 after '90 30 00'

e2e_exit_program
e2e_expect_quiet_program
e2e_log "PASS"
