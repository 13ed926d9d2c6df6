#!/usr/bin/env bash
# Recording and playback with real key events: a phrase played on Q, W and E is recorded, and
# Space plays it back in a loop with the recorded order and gaps.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_record_phrase_and_play
readonly phrase_events=6 passes=4
e2e_wait_for 20 "$passes passes of playback" \
    eval '[[ $(e2e_midi monitor | grep -c " 9") -ge $((phrase_events * (passes + 1))) ]]'
e2e_exit_program

# The note messages: the phrase as played, then the passes of playback. Every pass must repeat
# the played bytes in order. A pass is on time when each event comes within 20 ms (960 frames at
# 48 kHz) of its played time counted from the first event, and a pass after the first begins
# within 20 ms of the end of the one before (playback steps every 10 ms; the monitor sees the messages in JACK
# periods of 2.7 ms). On a busy machine the scheduler can hold the program back once in a
# while, so one pass of the four may be late, by 50 ms at most.
e2e_midi monitor | grep ' 9' | awk -v events="$phrase_events" -v passes="$passes" '
    function check(ms, limit) {
        if (ms < 0) ms = -ms
        if (ms > largest) largest = ms
        if (ms > 50) wild++
        return ms <= limit
    }
    {
        frame[NR - 1] = $1
        $1 = ""
        bytes[NR - 1] = substr($0, 2)
    }
    END {
        wrong = wild = late = largest = 0
        for (pass = 1; pass <= passes; pass++) {
            first = pass * events
            on_time = pass == 1 || check((frame[first] - frame[first - 1]) / 48, 20)
            for (event = 0; event < events; event++) {
                played = frame[event] - frame[0]
                replayed = frame[first + event] - frame[first]
                drift = (replayed - played) / 48
                printf "pass %d event %d: %s at %.1f ms, played at %.1f ms (%+.1f)\n", pass,
                    event, bytes[first + event], replayed / 48, played / 48, drift
                if (bytes[first + event] != bytes[event]) {
                    print "  wrong message, played: " bytes[event]
                    wrong++
                }
                if (!check(drift, 20)) {
                    print "  more than 20 ms off"
                    on_time = 0
                }
            }
            late += !on_time
        }
        printf "largest difference %.1f ms, %d of %d passes late\n", largest, late, passes
        exit wrong > 0 || wild > 0 || late > 1
    }' >"$E2E_DIR/timing.log" || {
    cat "$E2E_DIR/timing.log" >&2
    e2e_fail "playback did not repeat the phrase"
}
if [[ -n ${E2E_VERBOSE:-} ]]; then
    cat "$E2E_DIR/timing.log" >&2
fi
played=$(e2e_midi_bytes monitor | grep '^9' | head -n "$phrase_events" | tr '\n' ' ')
[[ $played == "90 30 3c 90 30 00 90 32 3c 90 32 00 90 34 3c 90 34 00 " ]] ||
    e2e_fail "the phrase was played as: $played"
e2e_expect_quiet_program
e2e_log "PASS ($(tail -n 1 "$E2E_DIR/timing.log"))"
