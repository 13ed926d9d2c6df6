#!/usr/bin/env bash
# The main window as the window manager sees it: an ordinary application window (type NORMAL,
# tied to no other window, on the task bar) with the program's icon, a caption, a system menu,
# a close box and a minimise box, but neither a maximise box nor a resizable frame, since its
# size follows its font. A private Openbox manages the private X server and states the allowed
# actions; the window is then really minimised and brought back.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_xvfb
e2e_start_jack
e2e_start_midi_dump monitor
command -v openbox >/dev/null || e2e_fail "openbox is missing (scripts/install-deps)"
openbox --sm-disable </dev/null >"$E2E_DIR/openbox.log" 2>&1 &
e2e_track $!
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
e2e_wait_for 20 "the window manager" wm_ready
e2e_start_program
e2e_choose_last_device
e2e_wait_midi 10 monitor 'c0 00'

property() { xprop -id "$E2E_WINDOW" "$@"; }

type=$(property _NET_WM_WINDOW_TYPE)
[[ $type == *'_NET_WM_WINDOW_TYPE_NORMAL'* && $type != *DIALOG* ]] || e2e_fail "window type: $type"

transient=$(property WM_TRANSIENT_FOR)
[[ $transient == *'not found'* ]] || e2e_fail "the window is tied to another: $transient"

state=$(property _NET_WM_STATE)
[[ $state != *MODAL* && $state != *SKIP_TASKBAR* ]] || e2e_fail "window state: $state"

# The icon comes once the window is on screen.
has_icon() { property _NET_WM_ICON | grep -q 'Icon ('; }
e2e_wait_for 10 "the window's icon" has_icon

allowed_has() { property _NET_WM_ALLOWED_ACTIONS | grep -q "_NET_WM_ACTION_$1"; }
allowed() { e2e_wait_for 10 "the action $1 to be allowed" allowed_has "$1"; }
not_allowed() { allowed_has "$1" && e2e_fail "the action $1 is allowed"; true; }
allowed MINIMIZE
allowed CLOSE
allowed MOVE
not_allowed MAXIMIZE_HORZ
not_allowed RESIZE

# Minimise with the window manager's own request, as the minimise box does; then restore.
iconic() { property WM_STATE | grep -q 'Iconic'; }
normal() { property WM_STATE | grep -q 'Normal'; }
timeout 10 xdotool windowminimize "$E2E_WINDOW" || e2e_fail "cannot ask for minimising"
e2e_wait_for 10 "the window to be minimised" iconic
timeout 10 xdotool windowactivate "$E2E_WINDOW" 2>/dev/null || true
e2e_wait_for 10 "the window to come back" normal

# Alt+F4 asks the window manager to close the window, as the close box does.
readonly KEY_ALT_L=64 KEY_F4=70
e2e_focus_window
e2e_keys "+$KEY_ALT_L" "$KEY_F4" "-$KEY_ALT_L"
e2e_wait_for 10 "the program to end" eval '! e2e_program_alive'
wait "$E2E_PROGRAM_PID" || e2e_fail "the program ended with status $?"
[[ -s $E2E_DIR/setting.dat ]] || e2e_fail "closing the window wrote no settings file"
e2e_expect_quiet_program
e2e_log "ok"
