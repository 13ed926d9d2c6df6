#!/usr/bin/env bash
# The built-in synthesizer is device 0 and plays at once: with its audio on a private JACK
# server, key Q sounds note 48 (C3, 130.81 Hz).
# Usage: synth_audio_test.sh path/to/ladoton [path/to/ladoton_xtest_keys]
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_init "$@"

e2e_start_xvfb
e2e_start_jack
# The built-in synthesizer stays in the device list, and as the dummy server has no sound card
# its audio goes straight to JACK.
export E2E_BUILTIN_SYNTH=1 LADOTON_SYNTH_AUDIO=jack
e2e_start_program
e2e_wait_for 20 "the synthesizer's JACK output" e2e_jack_has_port "Ладотон:left"

heard=$(e2e_pitch_of_q Ладотон:left)
e2e_log "heard $heard Hz for Q, note 48 is 130.81 Hz"
# Judged to a quarter-tone either side: SoundFonts tune their samples a little differently
# (one is 1 % sharp), while the neighbouring notes lie a whole semitone (5.9 %) away.
awk -v f="$heard" 'BEGIN { q = 2 ^ (1 / 24); r = f / 130.8128; exit !(r < q && r > 1 / q) }' ||
    e2e_fail "Q sounded at $heard Hz, not note 48 (130.81 Hz)"

e2e_program_alive || e2e_fail "the program ended"
e2e_expect_quiet_program
e2e_log "PASS"
