#!/usr/bin/env bash
# JACK's cycles while the built-in synthesizer plays on JACK (LADOTON_SYNTH_AUDIO=jack) and the
# MIDI input brings a held note and CHANGES program changes (150 unless given) INTERVAL ms apart
# (30 unless given), on a private JACK server (48 kHz, 256 frames a period, 5.33 ms) under
# Xvfb: the longest time between two cycles, how many came later than two periods (10.7 ms) and
# how many more than a quarter of a period late, timed by jack_cycle_probe.c connected after the
# synthesizer's ports. Each program change reads its program's samples, from disk: the
# SoundFont is put out of the page cache first. Run with the SoundFonts of fluid-soundfont-gm
# (FluidR3, 141 MB; installed when missing, leaving the machine's default SoundFont as it was)
# and of timgm6mb-soundfont (TimGM6mb, 6 MB), named to the program by LADOTON_SOUNDFONT; the
# source is connected at start as midi-input.txt names it.
# Usage: tests/bench/program_change_cycles.sh path/to/ladoton [CHANGES] [INTERVAL_MS]
here=$(dirname "$(realpath "$0")")
source "$here/../e2e/lib.sh"
changes=${2:-150}
interval=${3:-30}
E2E_TIMEOUT=$((300 + 2 * changes * interval / 1000))
e2e_init "$(realpath "${1:?usage: $0 path/to/ladoton [CHANGES] [INTERVAL_MS]}")"
readonly SENDER=$(dirname "$E2E_PROGRAM")/tests/e2e/ladoton_midi_send
[[ -x $SENDER ]] || e2e_fail "no MIDI source at $SENDER"
readonly FLUID_R3=/usr/share/sounds/sf2/FluidR3_GM.sf2 TIMGM6MB=/usr/share/sounds/sf2/TimGM6mb.sf2
readonly DEFAULT_SOUNDFONT=/usr/share/sounds/sf2/default-GM.sf2

install_fluid_r3() {
    [[ -f $FLUID_R3 ]] && return
    e2e_log "installing fluid-soundfont-gm"
    local sudo=() default
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    default=$(readlink -f "$DEFAULT_SOUNDFONT" || true)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        fluid-soundfont-gm >"$E2E_DIR/apt.log" 2>&1 || e2e_fail "cannot install fluid-soundfont-gm"
    # Its SoundFont ranks above TimGM6mb as the system's default: the default stays as it was.
    if [[ -n $default && $(readlink -f "$DEFAULT_SOUNDFONT") != "$default" ]]; then
        "${sudo[@]}" update-alternatives --set default-GM.sf2 "$default" >>"$E2E_DIR/apt.log"
    fi
}

# evict FILE: the file's pages out of the page cache, so that its samples are read from disk, as
# on the first program changes after a boot.
evict() {
    python3 -c 'import os, sys
fd = os.open(sys.argv[1], os.O_RDONLY)
os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)' "$1"
}

cc -O2 -o "$E2E_DIR/cycles" "$here/jack_cycle_probe.c" -ljack ||
    e2e_fail "cannot build the probe (libjack-jackd2-dev)"
install_fluid_r3
[[ -f $TIMGM6MB ]] || e2e_fail "no TimGM6mb at $TIMGM6MB (timgm6mb-soundfont)"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
e2e_start_xvfb
E2E_JACK_PERIOD=256 e2e_start_jack
echo "program changes: $changes, $interval ms apart, while a note is held"

# run LABEL SOUNDFONT: one run of the program on that SoundFont.
run() {
    local label=$1 soundfont=$2
    rm -f "$E2E_DIR/send" "$E2E_DIR/go"
    mkfifo "$E2E_DIR/send" "$E2E_DIR/go"
    "$SENDER" jack sender <"$E2E_DIR/send" >>"$E2E_DIR/sender.log" 2>&1 &
    local sender=$!
    e2e_track "$sender"
    exec {SEND}>"$E2E_DIR/send"
    e2e_wait_for 10 "the port sender:output" e2e_jack_has_port sender:output
    echo sender:output >"$E2E_DIR/midi-input.txt"

    export E2E_BUILTIN_SYNTH=1 LADOTON_SYNTH_AUDIO=jack LADOTON_SOUNDFONT=$soundfont
    e2e_start_program
    e2e_wait_for 20 "the synthesizer's JACK output" e2e_jack_has_port "Ладотон:left"
    e2e_wait_for 10 "the source connected at start" \
        eval 'jack_lsp -c sender:output | grep -qx "   Ладотон:input"'
    "$E2E_DIR/cycles" cycles <"$E2E_DIR/go" >"$E2E_DIR/cycles.out" 2>>"$E2E_DIR/cycles.err" &
    local probe=$!
    e2e_track "$probe"
    exec {GO}>"$E2E_DIR/go"
    e2e_wait_for 10 "the cycle probe" grep -qx ready "$E2E_DIR/cycles.out"
    jack_connect Ладотон:left cycles:in
    e2e_sleep 2 # the SoundFont read, the first program's samples with it
    evict "$soundfont"

    printf '90 3c 64\n' >&"$SEND"
    e2e_sleep 0.5
    local change pause
    pause=$(awk -v ms="$interval" 'BEGIN { print ms / 1000 }')
    for ((change = 1; change <= changes; change++)); do
        printf 'c0 %02x\n' $((change % 128)) >&"$SEND"
        sleep "$pause"
    done
    printf '80 3c 00\n' >&"$SEND"
    e2e_sleep 0.5
    echo stop >&"$GO"
    exec {GO}>&-
    wait "$probe" || e2e_fail "the cycle probe failed"
    awk -v label="$label" '$1 == "cycles" {
        printf "%-9s %s cycles: the longest %.2f ms apart (period %.2f ms, mean %.2f);",
            label, $2, $6, $4, $10
        printf " later than two periods: %s; more than a quarter period late: %s\n", $8, $12
    }' "$E2E_DIR/cycles.out"

    exec {SEND}>&-
    e2e_stop_pid "$sender"
    e2e_program_alive || e2e_fail "the program ended"
    e2e_stop_pid "$E2E_PROGRAM_PID"
}

run FluidR3 "$FLUID_R3"
run TimGM6mb "$TIMGM6MB"
