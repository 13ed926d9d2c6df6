#!/usr/bin/env bash
# Key -> note-on on JACK without and with Orca running, in alternating runs (ROUNDS, default 3),
# each of TRIALS key presses (tests/bench/input_latency.sh): a screen reader must not make a
# note later.
# Usage: tests/bench/screen_reader_latency.sh path/to/ladoton [TRIALS] [ROUNDS]
here=$(dirname "$(realpath "$0")")
program=${1:?usage: $0 path/to/ladoton [TRIALS] [ROUNDS]}
trials=${2:-30}
rounds=${3:-3}
for ((round = 1; round <= rounds; round++)); do
    for reader in none orca; do
        echo "---- round $round, screen reader: $reader"
        BENCH_SCREEN_READER=$reader bash "$here/input_latency.sh" "$program" "$trials" |
            grep -E '^key |^Ладотон:input' || exit 1
    done
done
