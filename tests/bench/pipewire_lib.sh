# A private headless PipeWire for the benchmarks, as on today's desktops: pipewire, wireplumber
# and pipewire-pulse on a D-Bus session bus and a runtime folder of their own, playing into a
# null sink at 48 kHz. Source after tests/e2e/lib.sh and e2e_init; pw_start starts it, the
# e2e EXIT trap ends it.

PW_SINK=ladoton_bench_sink
PW_PIDS=()

pw_install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    ((${#missing[@]} == 0)) && return 0
    e2e_log "installing ${missing[*]}"
    local sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    # Without recommends: VMPK's would bring a second SoundFont that takes over default-GM.sf2.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" \
        >"$E2E_DIR/apt.log" 2>&1 || e2e_fail "cannot install ${missing[*]}"
}

pw_ready() { pactl list short sinks 2>/dev/null | grep -q .; }

pw_start() {
    pw_install_missing pipewire pipewire-bin wireplumber pipewire-pulse pulseaudio-utils dbus-bin
    export XDG_RUNTIME_DIR=$E2E_DIR/runtime
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
    dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile \
        </dev/null >"$E2E_DIR/dbus.log" 2>&1 &
    e2e_track $!
    e2e_wait_for 10 "the session bus" test -S "$XDG_RUNTIME_DIR/bus"
    pw_start_daemons
}

# pw_start_daemons: pipewire, wireplumber and pipewire-pulse, and the null sink as the default.
pw_start_daemons() {
    local daemon
    PW_PIDS=()
    for daemon in pipewire wireplumber pipewire-pulse; do
        "$daemon" </dev/null >>"$E2E_DIR/$daemon.log" 2>&1 &
        e2e_track $!
        PW_PIDS+=($!)
        sleep 0.3
    done
    e2e_wait_for 20 "PipeWire's PulseAudio service" pw_ready
    pactl load-module module-null-sink sink_name=$PW_SINK rate=48000 channels=2 >/dev/null
    pactl set-default-sink $PW_SINK
}

# pw_stop_daemons: ends them as a restart of the user's services does, and waits until they are
# gone.
pw_stop_daemons() {
    local index
    for ((index = ${#PW_PIDS[@]} - 1; index >= 0; index--)); do
        e2e_stop_pid "${PW_PIDS[index]}"
    done
    PW_PIDS=()
}

# The nanoseconds all threads of a process have run.
pw_cpu_ns() {
    cat "/proc/$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { print sum + 0 }'
}
