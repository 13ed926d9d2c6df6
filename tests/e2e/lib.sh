# Helpers for the end-to-end tests and scripts/screenshot: a private X server, a private JACK
# server, MIDI monitors, the program itself, raw key presses and screenshots.
#
# Source this file, then call `e2e_init PROGRAM [KEY_SENDER]`. It makes a scratch folder, arms a
# watchdog and an EXIT trap that stops every process started here, so nothing is assumed to be
# running beforehand and nothing is left behind. Every wait has a time limit.
#
# Environment: E2E_TIMEOUT (seconds for the whole script, default 240), E2E_KEEP=1 keeps the
# scratch folder, E2E_VERBOSE=1 shows the logs also when the script succeeds, E2E_BUILTIN_SYNTH=1
# keeps the built-in synthesizer in the program's device list (left out by default, so that the
# first JACK port is device 0 and no audio runs beside the MIDI under test), E2E_SCREEN sets the
# X server's screen (default 1280x1024x24; a larger one for pictures at QT_SCALE_FACTOR=2).

E2E_TIMEOUT=${E2E_TIMEOUT:-240}
E2E_DIR=
E2E_PIDS=()
E2E_WATCHDOG=
E2E_PROGRAM=
E2E_KEYS=
E2E_PROGRAM_PID=
E2E_WINDOW=
E2E_JACK_PID=
declare -A E2E_MONITOR_PIDS=()

# X key codes of the evdev keymap that Xvfb uses.
readonly KEY_ESCAPE=9 KEY_2=11 KEY_TAB=23 KEY_Q=24 KEY_W=25 KEY_E=26 KEY_RETURN=36 KEY_SHIFT_L=50
readonly KEY_X=53 KEY_SPACE=65 KEY_NUM_LOCK=77 KEY_KP_6=85 KEY_UP=111 KEY_DOWN=116

e2e_log() { printf 'e2e: %s\n' "$*" >&2; }

e2e_fail() {
    e2e_log "FAIL: $*"
    exit 1
}

# e2e_init PROGRAM [KEY_SENDER]
e2e_init() {
    set -euo pipefail
    E2E_PROGRAM=$(realpath "${1:?usage: $0 path/to/ladoton [path/to/ladoton_xtest_keys]}")
    E2E_KEYS=${2:-$(dirname "$E2E_PROGRAM")/tests/e2e/ladoton_xtest_keys}
    [[ -x $E2E_PROGRAM ]] || e2e_fail "no program at $E2E_PROGRAM"
    E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/ladoton-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'e2e_log "interrupted or timed out"; exit 1' INT TERM HUP
    e2e_arm_watchdog
    # Only what this script starts may be used, and no JACK client of the harness may start
    # a server of its own.
    unset DISPLAY WAYLAND_DISPLAY JACK_DEFAULT_SERVER
    export JACK_NO_START_SERVER=1
}

e2e_arm_watchdog() {
    local parent=$$
    (
        trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
        sleep "$E2E_TIMEOUT" &
        sleeper=$!
        wait "$sleeper" && kill -TERM "$parent"
    ) </dev/null >/dev/null 2>&1 &
    E2E_WATCHDOG=$!
}

e2e_track() { E2E_PIDS+=("$1"); }

# A process is alive while it exists and is not a zombie waiting to be reaped.
e2e_alive() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ -n $state && $state != Z ]]
}

e2e_stop_pid() {
    local pid=$1 tenth
    if e2e_alive "$pid"; then
        kill -TERM "$pid" 2>/dev/null || true
        for ((tenth = 0; tenth < 50; tenth++)); do
            e2e_alive "$pid" || break
            sleep 0.1
        done
        e2e_alive "$pid" && kill -KILL "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null || true
}

e2e_show_logs() {
    local file
    for file in "$E2E_DIR"/*.log "$E2E_DIR"/*.err "$E2E_DIR"/*.midi; do
        [[ -s $file ]] || continue
        e2e_log "---- $(basename "$file") (last lines)"
        tail -n 40 "$file" >&2
    done
}

e2e_cleanup() {
    local status=$? index
    set +e
    trap - EXIT INT TERM HUP
    [[ -n $E2E_WATCHDOG ]] && e2e_stop_pid "$E2E_WATCHDOG"
    # Stop in reverse order of starting: the program before its MIDI peers, the servers last.
    for ((index = ${#E2E_PIDS[@]} - 1; index >= 0; index--)); do
        e2e_stop_pid "${E2E_PIDS[index]}"
    done
    if [[ -n $E2E_DIR && -d $E2E_DIR ]]; then
        if [[ $status -ne 0 || -n ${E2E_VERBOSE:-} ]]; then
            e2e_show_logs
        fi
        if [[ -n ${E2E_KEEP:-} ]]; then
            e2e_log "scratch folder kept: $E2E_DIR"
        else
            rm -rf "$E2E_DIR"
        fi
    fi
    exit "$status"
}

# e2e_wait_for SECONDS WHAT COMMAND...: runs COMMAND until it succeeds, or fails the test.
e2e_wait_for() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || e2e_fail "timed out after ${seconds}s waiting for $what"
        sleep 0.1
    done
}

# e2e_sleep SECONDS: a pause that a timeout signal interrupts at once.
e2e_sleep() {
    sleep "$1" &
    wait $! || true
}

# ---- X server ---------------------------------------------------------------------------------

e2e_x_ready() { xdpyinfo >/dev/null 2>&1; }

e2e_start_xvfb() {
    local display_file=$E2E_DIR/display
    : >"$display_file"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp -noreset \
        3>"$display_file" </dev/null >"$E2E_DIR/xvfb.log" 2>&1 &
    e2e_track $!
    e2e_wait_for 20 "Xvfb to choose a display" test -s "$display_file"
    export DISPLAY=":$(head -n 1 "$display_file")"
    e2e_wait_for 20 "the X server on $DISPLAY" e2e_x_ready
    # The XTEST keyboard brings its own key map with its first event, undoing any layout set
    # before; one harmless key now makes later layout changes stick.
    e2e_keys "$KEY_SHIFT_L"
}

# e2e_keys ACTION...: raw key codes through XTEST (+CODE press, -CODE release, CODE tap, @MS wait).
e2e_keys() {
    timeout 60 "$E2E_KEYS" "$@" || e2e_fail "key sender failed: $*"
}

e2e_num_lock_on() { [[ $(timeout 10 "$E2E_KEYS" --num-lock) == on ]]; }

e2e_set_num_lock() {
    e2e_num_lock_on || e2e_keys "$KEY_NUM_LOCK"
    e2e_wait_for 5 "Num Lock" e2e_num_lock_on
}

# e2e_set_layout LAYOUT: switches the XKB layout and checks that key Q now gives EXPECTED_KEYSYM.
e2e_set_layout() {
    local layout=$1 expected_keysym=$2
    local keysym
    setxkbmap "$layout" || e2e_fail "setxkbmap $layout failed"
    keysym=$(timeout 10 "$E2E_KEYS" --keysym "$KEY_Q")
    [[ $keysym == "$expected_keysym" ]] || e2e_fail "layout $layout did not take: Q gives $keysym"
}

e2e_screenshot() {
    import -window root "$1" || e2e_fail "screenshot to $1 failed"
}

# ---- JACK ---------------------------------------------------------------------------------------

e2e_jack_ready() { jack_lsp >/dev/null 2>&1; }

# e2e_start_jack [NAME]: a dummy-driver JACK server under a name no other running server has.
# libjack registers servers in a table of eight that it cleans only when a name comes back, so
# a server that was killed would hold its entry for good under a name never used again; the
# names therefore come from a small set, and a name that a running server has is skipped. The
# short period (128 frames at 48 kHz, 2.7 ms) keeps the monitors' timestamps fine-grained;
# a test that floods its peers may ask for a longer one (E2E_JACK_PERIOD). Clients get 2 s
# before the server gives up on them, so a busy machine does not throw a monitor out.
e2e_start_jack() {
    local slot
    if [[ -n ${1:-} ]]; then
        e2e_launch_jack "$1" || e2e_fail "the JACK server $1 did not start"
        return
    fi
    for ((slot = 0; slot < 6; slot++)); do
        e2e_claim_jack_name "ladoton-e2e-$slot" || continue
        e2e_launch_jack "ladoton-e2e-$slot" && return
        exec {E2E_JACK_LOCK}>&-
    done
    e2e_fail "no JACK server could start (see jackd.log)"
}

# e2e_claim_jack_name NAME: holds the name for this script until it ends, so that a script
# started beside it neither launches a second server of that name (whose failed start takes the
# first server's socket with it) nor takes the name up after this script stopped its server.
# The lock lives as long as the script's open file; the server itself does not inherit it.
e2e_claim_jack_name() {
    local lock_file=/tmp/$1.$(id -u).lock
    # A lock file of another user's means the name is theirs.
    [[ ! -e $lock_file || -w $lock_file ]] || return 1
    exec {E2E_JACK_LOCK}>>"$lock_file"
    flock -n "$E2E_JACK_LOCK" && return
    exec {E2E_JACK_LOCK}>&-
    return 1
}

# e2e_launch_jack NAME: starts the server; fails when a server of that name runs already or the
# new one ends before it answers.
e2e_launch_jack() {
    export JACK_DEFAULT_SERVER=$1
    if e2e_jack_ready; then
        return 1
    fi
    echo "---- jackd -n $1" >>"$E2E_DIR/jackd.log"
    jackd -n "$JACK_DEFAULT_SERVER" -t 2000 -d dummy -r 48000 -p "${E2E_JACK_PERIOD:-128}" \
        </dev/null >>"$E2E_DIR/jackd.log" 2>&1 {E2E_JACK_LOCK}>&- &
    E2E_JACK_PID=$!
    e2e_track "$E2E_JACK_PID"
    local deadline=$((SECONDS + 20))
    until e2e_jack_ready; do
        e2e_alive "$E2E_JACK_PID" || return 1
        ((SECONDS < deadline)) || e2e_fail "timed out waiting for the JACK server $1"
        sleep 0.1
    done
    # Another script may have started a server of that name at the same moment; then this one
    # ends, as libjack refuses a second server of a name.
    sleep 0.3
    e2e_alive "$E2E_JACK_PID"
}

e2e_stop_jack() {
    e2e_stop_pid "$E2E_JACK_PID"
    e2e_wait_for 10 "the JACK server to stop" eval '! e2e_jack_ready'
}

e2e_jack_has_port() { jack_lsp 2>/dev/null | grep -qxF "$1"; }

# e2e_start_midi_dump NAME: a MIDI monitor whose input port is NAME:input; what it receives goes
# to $E2E_DIR/NAME.midi as lines "FRAME: BYTES", FRAME counted at 48 kHz from its start.
e2e_start_midi_dump() {
    local name=$1
    stdbuf -oL jack_midi_dump -a "$name" </dev/null >"$E2E_DIR/$name.midi" 2>"$E2E_DIR/$name.err" &
    E2E_MONITOR_PIDS[$name]=$!
    e2e_track $!
    e2e_wait_for 20 "the port $name:input" e2e_jack_has_port "$name:input"
}

e2e_stop_midi_dump() {
    e2e_stop_pid "${E2E_MONITOR_PIDS[$1]}"
    e2e_wait_for 10 "the port $1:input to go" eval '! e2e_jack_has_port "$1:input"'
}

# e2e_start_midi_source NAME [SYSTEM]: a MIDI source whose output port is NAME:output on JACK (or
# the ALSA sequencer client NAME); e2e_send NAME "90 30 40"... sends messages from it.
declare -A E2E_SOURCE_FDS=()
e2e_start_midi_source() {
    local name=$1 system=${2:-jack} fifo=$E2E_DIR/$1.send fd
    rm -f "$fifo"
    mkfifo "$fifo"
    "$(dirname "$E2E_KEYS")/ladoton_midi_send" "$system" "$name" <"$fifo" \
        >>"$E2E_DIR/$name-source.log" 2>&1 &
    E2E_MONITOR_PIDS[$name]=$!
    e2e_track $!
    exec {fd}>"$fifo"
    E2E_SOURCE_FDS[$name]=$fd
    if [[ $system == jack ]]; then
        e2e_wait_for 10 "the port $name:output" e2e_jack_has_port "$name:output"
    else
        e2e_wait_for 10 "the ALSA client $name" eval "aconnect -i | grep -q \"'$name'\""
    fi
}

# e2e_stop_midi_source NAME: the source's input ends, and the source with it.
e2e_stop_midi_source() {
    exec {E2E_SOURCE_FDS[$1]}>&-
    e2e_stop_pid "${E2E_MONITOR_PIDS[$1]}"
}

e2e_send() {
    local name=$1
    shift
    printf '%s\n' "$@" >&"${E2E_SOURCE_FDS[$name]}"
}

# e2e_midi NAME: the messages NAME received, one a line as "FRAME b0 b1 ...". jack_midi_dump
# describes some messages after their bytes; only the bytes are kept.
e2e_midi() {
    awk '$1 ~ /^[0-9]+:$/ {
        line = substr($1, 1, length($1) - 1)
        for (field = 2; field <= NF && $field ~ /^[0-9a-f][0-9a-f]$/; field++)
            line = line " " $field
        print line
    }' "$E2E_DIR/$1.midi"
}

# e2e_midi_bytes NAME: only the bytes of the messages NAME received.
e2e_midi_bytes() { e2e_midi "$1" | cut -d' ' -f2-; }

e2e_midi_has() { e2e_midi_bytes "$1" | grep -qxE "$2"; }

# e2e_wait_midi SECONDS NAME REGEX: waits until NAME has received a message matching REGEX.
e2e_wait_midi() { e2e_wait_for "$1" "'$3' at $2" e2e_midi_has "$2" "$3"; }

# ---- The program --------------------------------------------------------------------------------

e2e_find_window() {
    E2E_WINDOW=$(xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" --name '^Ладотон' \
        2>/dev/null | head -n 1)
    [[ -n $E2E_WINDOW ]]
}

# e2e_launch_program: starts the program in the scratch folder without waiting for anything. The
# program gets neither the harness's JACK_NO_START_SERVER nor a runtime folder, so its own guards
# are what is tested.
e2e_launch_program() {
    (
        cd "$E2E_DIR" &&
            exec env -u JACK_NO_START_SERVER -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=xcb \
                LADOTON_BUILTIN_SYNTH="${E2E_BUILTIN_SYNTH:-0}" "$E2E_PROGRAM"
    ) </dev/null >"$E2E_DIR/program.out" 2>"$E2E_DIR/program.err" &
    E2E_PROGRAM_PID=$!
    e2e_track "$E2E_PROGRAM_PID"
}

# e2e_wait_main_window: waits for the main window, gives it the keyboard focus and puts the
# pointer over it.
e2e_wait_main_window() {
    e2e_wait_for 30 "the main window" e2e_find_window
    e2e_focus_window
}

e2e_start_program() {
    e2e_launch_program
    e2e_wait_main_window
}

# e2e_exit_program: ends the program as a user does, with Файл > Выход (the last item of the
# first menu), and waits for the process to end.
e2e_exit_program() {
    timeout 10 xdotool mousemove --window "$E2E_WINDOW" 20 8 click 1 ||
        e2e_fail "cannot open the menu"
    e2e_wait_for 10 "the File menu" menu_shown
    e2e_keys "$KEY_UP" @200 "$KEY_RETURN"
    e2e_wait_for 10 "the program to end" eval '! e2e_program_alive'
    wait "$E2E_PROGRAM_PID" || e2e_fail "the program ended with status $?"
}

e2e_focus_window() {
    timeout 10 xdotool windowfocus --sync "$E2E_WINDOW" || e2e_fail "cannot focus the window"
    timeout 10 xdotool mousemove --window "$E2E_WINDOW" 5 5 ||
        e2e_fail "cannot move the pointer"
}

e2e_program_alive() { e2e_alive "$E2E_PROGRAM_PID"; }

# e2e_right_click X Y: a right click at X, Y of the main window (menu bar included).
e2e_right_click() {
    timeout 10 xdotool mousemove --window "$E2E_WINDOW" "$1" "$2" click 3 ||
        e2e_fail "right click failed"
}

# e2e_window_height: the main window's height in pixels.
e2e_window_height() {
    xwininfo -id "$E2E_WINDOW" | sed -n 's/^ *Height: *//p'
}

# e2e_right_click_surface: a right click on the window's own surface, in the empty strip under
# the group boxes at the bottom of the window, where there is no control.
e2e_right_click_surface() {
    e2e_right_click 20 $(($(e2e_window_height) - 4))
}

# e2e_window_count: how many visible top-level windows the program has (menus included).
e2e_window_count() {
    xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" 2>/dev/null | wc -l
}

menu_shown() { [[ $(e2e_window_count) -ge 2 ]]; }
menu_gone() { [[ $(e2e_window_count) -eq 1 ]]; }

# e2e_alsa_sequencer: whether this machine has an ALSA sequencer the program can open.
e2e_alsa_sequencer() { [[ -r /dev/snd/seq && -w /dev/snd/seq ]]; }

# e2e_input_item_count: how many items of the device menu's last part, the MIDI input's, the
# keyboard reaches: «Нет» and one for each readable MIDI port of other programs.
e2e_input_item_count() {
    local jack alsa=0
    jack=$(jack_lsp -tp 2>/dev/null | awk '
        /^[^ \t]/ { name = $0 }
        /properties:/ { output = /output/ }
        /raw midi/ { if (output && name !~ /^Ладотон:/) count++ }
        END { print count + 0 }')
    if e2e_alsa_sequencer; then
        alsa=$(aconnect -i | awk '
            /^client/ { skip = $2 == "0:" || /Ладотон|Ladoton/ }
            /^ +[0-9]+ / && !skip { count++ }
            END { print count + 0 }')
    fi
    echo $((1 + jack + alsa))
}

# e2e_choose_device_from_end N: chooses the N-th output device from the end of the device
# menu's first part.
e2e_choose_device_from_end() {
    e2e_choose_menu_item_from_end $(($1 + $(e2e_input_item_count)))
}

# e2e_choose_input_from_end N: chooses the N-th item from the end of the MIDI input's part:
# 1 is the source listed last.
e2e_choose_input_from_end() { e2e_choose_menu_item_from_end "$1"; }

# e2e_choose_menu_item_from_end N: opens the device menu and chooses its N-th item from the end
# (Up from no selection goes to the last item; the part's heading is passed over).
e2e_choose_menu_item_from_end() {
    local keys=() step
    for ((step = 0; step < $1; step++)); do
        keys+=("$KEY_UP" @200)
    done
    e2e_right_click_surface
    e2e_wait_for 10 "the device menu" menu_shown
    e2e_keys "${keys[@]}" "$KEY_RETURN"
    e2e_wait_for 10 "the device menu to close" menu_gone
}

# The menu ends with the program's own ports: ALSA's where a sequencer is, then JACK's (a JACK
# server always runs here).
e2e_own_port_count() { e2e_alsa_sequencer && echo 2 || echo 1; }

e2e_choose_own_jack_port() { e2e_choose_device_from_end 1; }

e2e_choose_own_alsa_port() { e2e_choose_device_from_end 2; }

# e2e_choose_last_jack_port: chooses the JACK port listed last, just above the program's own
# ports, whatever devices come before it, the ALSA sequencer's included. JACK lists ports by
# id, and ids of ports gone are used again: with more than one monitor, the one started last is
# the last JACK port only while no port has gone.
e2e_choose_last_jack_port() {
    e2e_choose_device_from_end $(($(e2e_own_port_count) + 1))
}

# The older name, for scripts written before the own ports ended the menu.
e2e_choose_last_device() { e2e_choose_last_jack_port; }

# e2e_start_playing_to NAME: a fresh Xvfb and JACK server, the MIDI monitor NAME, and the program
# playing to it (chosen in the device menu), once it has got the program change of the choice.
e2e_start_playing_to() {
    e2e_start_xvfb
    e2e_start_jack
    e2e_start_midi_dump "$1"
    e2e_start_program
    e2e_choose_last_jack_port
    e2e_wait_midi 10 "$1" 'c0 00'
}

# e2e_record_phrase_and_play: the program plays to the MIDI monitor "monitor"; a phrase on Q, W
# and E with presses and gaps of uneven length (150 to 300 ms) is recorded, and Space starts its
# playback.
e2e_record_phrase_and_play() {
    e2e_start_playing_to monitor
    e2e_keys "+$KEY_Q" @150 "-$KEY_Q" @250 "+$KEY_W" @200 "-$KEY_W" @300 "+$KEY_E" @180 "-$KEY_E"
    e2e_sleep 0.5
    e2e_keys "$KEY_SPACE"
}

# e2e_pitch_of_q PORT: the pitch in Hz that the JACK audio port PORT sounds while Q is held,
# heard by a listener of our own (tests/e2e/jack_pitch.cpp); fails when nothing is heard.
e2e_pitch_of_q() {
    local listener
    "$(dirname "$E2E_KEYS")/ladoton_jack_pitch" "$1" 30 >"$E2E_DIR/pitch.log" \
        2>"$E2E_DIR/pitch.err" &
    listener=$!
    e2e_track "$listener"
    e2e_wait_for 10 "the pitch listener" grep -q listening "$E2E_DIR/pitch.log"
    e2e_keys +"$KEY_Q" @600 -"$KEY_Q"
    wait "$listener" || e2e_fail "no pitch heard at $1: $(tail -n 1 "$E2E_DIR/pitch.log")"
    tail -n 1 "$E2E_DIR/pitch.log"
}

# e2e_start_box: the visible window of the program captioned with its name, as the message box of
# a device that does not open at start is (the main window's class has that name too, so windows
# are told apart by caption); sets E2E_BOX.
e2e_start_box() {
    local window
    E2E_BOX=
    for window in $(xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" 2>/dev/null); do
        [[ $(xdotool getwindowname "$window" 2>/dev/null) == ladoton ]] && E2E_BOX=$window
    done
    [[ -n $E2E_BOX ]]
}

# e2e_close_start_box: waits for that message box and closes it as a user does, with Enter.
e2e_close_start_box() {
    e2e_wait_for 30 "the message box" e2e_start_box
    timeout 10 xdotool windowfocus --sync "$E2E_BOX" || e2e_fail "cannot focus the message box"
    e2e_keys "$KEY_RETURN"
    e2e_wait_for 10 "the message box to close" eval '! e2e_start_box'
}

# e2e_expect_quiet_program: the program wrote nothing to the terminal.
e2e_expect_quiet_program() {
    if [[ -s $E2E_DIR/program.err || -s $E2E_DIR/program.out ]]; then
        cat "$E2E_DIR/program.out" "$E2E_DIR/program.err" >&2
        e2e_fail "the program wrote to the terminal"
    fi
}

# ---- A screen reader ------------------------------------------------------------------------------

# e2e_screen_reader_missing: names what Orca needs that this machine lacks; empty when none.
e2e_screen_reader_missing() {
    local tool missing=()
    for tool in orca dbus-launch speech-dispatcher /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
    echo "${missing[*]}"
}

# e2e_start_screen_reader: Orca as a user of its own would run it: its own HOME and runtime
# folder (the program started later gets them too), a private session bus, the AT-SPI bus that
# bus starts, speech through speech-dispatcher to ALSA's null device. Orca's debug log,
# written line by line, is $E2E_ORCA_LOG: each utterance is a line "SPEECH OUTPUT: '…'".
E2E_ORCA_LOG=
E2E_ORCA_PID=
E2E_MARK=0
e2e_start_screen_reader() {
    export HOME=$E2E_DIR/home XDG_RUNTIME_DIR=$E2E_DIR/runtime
    export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
    export XDG_CACHE_HOME=$HOME/.cache
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SPEECHD_ADDRESS
    mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    # speech-dispatcher's default output is PulseAudio, missing here; without an output its
    # speech stalls and Orca with it.
    cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"
DefaultModule espeak-ng
CONF
    local address
    address=$(dbus-launch --sh-syntax) || e2e_fail "no session bus"
    eval "$address"
    e2e_track "$DBUS_SESSION_BUS_PID"
    E2E_ORCA_LOG=$E2E_DIR/orca-debug.log
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/orca_line_log.py" "$E2E_ORCA_LOG" \
        </dev/null >"$E2E_DIR/orca.log" 2>&1 &
    E2E_ORCA_PID=$!
    e2e_track "$E2E_ORCA_PID"
    e2e_wait_for 60 "Orca to start" e2e_said "Screen reader on"
}

# e2e_stop_screen_reader: Orca shuts down on an interrupt.
e2e_stop_screen_reader() {
    kill -INT "$E2E_ORCA_PID" 2>/dev/null || true
    e2e_wait_for 10 "Orca to end" eval '! e2e_alive "$E2E_ORCA_PID"'
}

# e2e_utterances: what Orca said since the last e2e_mark, one utterance a line.
e2e_utterances() {
    tail -n "+$((E2E_MARK + 1))" "$E2E_ORCA_LOG" 2>/dev/null |
        sed -n "s/^.* - SPEECH OUTPUT: '\(.*\)' *[[{].*$/\1/p"
}
# e2e_said REGEX: Orca has said something matching REGEX since the last e2e_mark.
e2e_said() { e2e_utterances | grep -qE "$1"; }
e2e_mark() { E2E_MARK=$(wc -l <"$E2E_ORCA_LOG"); }
