#!/usr/bin/env bash
# On Wayland (sway's headless backend, Qt's wayland platform, a virtual pointer): a right click
# near the bottom of the window opens the device menu at the pointer, and a message box opens
# over the window. A Wayland window has no place on the screen that the program knows, so a menu
# placed from screen coordinates lands elsewhere. Where the menu landed is the compositor's own
# word: the configure event of the menu's popup surface. sway refuses to run as root, so as root
# the compositor, the program and the pointer run as the user nobody. Reported as skipped where
# sway or Qt's Wayland platform is missing.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

skip() {
    e2e_log "SKIP: $*"
    exit 77
}
command -v sway >/dev/null || skip "no Wayland compositor (Debian's sway)"
command -v python3 >/dev/null || skip "no python3 to read the compositor's answers"
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
    skip "no Qt Wayland platform (Debian's qt6-wayland)"
pointer_sender=$(dirname "$E2E_KEYS")/ladoton_wayland_pointer
[[ -x $pointer_sender ]] || skip "no pointer sender (built where libwayland-dev is)"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
    id nobody >/dev/null 2>&1 || skip "running as root on a machine without the user nobody"
    as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi

# The user's own folder: the programs, the runtime folder with the compositor's sockets, and
# the program's working folder.
wl=$E2E_DIR/wayland
mkdir -p "$wl/bin" "$wl/run" "$wl/home"
chmod 755 "$E2E_DIR" "$wl" "$wl/bin"
chmod 700 "$wl/run"
cp "$E2E_PROGRAM" "$pointer_sender" "$wl/bin/"
((${#as_user[@]} == 0)) || chown nobody "$wl/run" "$wl/home"
as_wayland_user() {
    "${as_user[@]}" env -i PATH="$PATH" HOME="$wl/home" XDG_RUNTIME_DIR="$wl/run" "$@"
}

cat >"$wl/sway.conf" <<'EOF'
output * resolution 1280x1024 position 0 0
xwayland disable
EOF
chmod 644 "$wl/sway.conf"
(cd "$wl/home" && exec "${as_user[@]}" env -i PATH="$PATH" HOME="$wl/home" \
    XDG_RUNTIME_DIR="$wl/run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman sway -c "$wl/sway.conf") </dev/null >"$E2E_DIR/sway.log" 2>&1 &
e2e_track $!
sway_socket() { compgen -G "$wl/run/sway-ipc.*.sock" >/dev/null; }
e2e_wait_for 30 "the compositor" sway_socket
swaysock=$(compgen -G "$wl/run/sway-ipc.*.sock" | head -n 1)
display=$(cd "$wl/run" && compgen -G 'wayland-[0-9]*' | grep -vx '.*\.lock' | head -n 1)
swaymsg() { as_wayland_user SWAYSOCK="$swaysock" swaymsg "$@"; }
e2e_wait_for 10 "the compositor's output" eval 'swaymsg -t get_outputs >/dev/null'
read -r screen_width screen_height < <(swaymsg -t get_outputs | python3 -c '
import json, sys
rect = json.load(sys.stdin)[0]["rect"]
print(rect["width"], rect["height"])')

# The pointer exists while its sender runs; it takes one command a line and answers each.
mkfifo "$wl/pointer.in"
exec {pointer_commands}<>"$wl/pointer.in"
as_wayland_user WAYLAND_DISPLAY="$display" "$wl/bin/ladoton_wayland_pointer" \
    "$screen_width" "$screen_height" <"$wl/pointer.in" >"$E2E_DIR/pointer.out" \
    2>"$E2E_DIR/pointer.err" &
e2e_track $!
pointer_answers=0
pointer_answered() { (($(grep -c '^ok$' "$E2E_DIR/pointer.out") > pointer_answers)); }
e2e_wait_for 10 "the virtual pointer" pointer_answered
pointer() {
    echo "$*" >&"$pointer_commands"
    pointer_answers=$((pointer_answers + 1))
    e2e_wait_for 10 "the pointer to $*" pointer_answered
}

# The built-in synthesizer with an audio output no machine has cannot start, which the
# program reports in a message box over its window.
(cd "$wl/home" && exec "${as_user[@]}" env -i PATH="$PATH" HOME="$wl/home" \
    XDG_RUNTIME_DIR="$wl/run" WAYLAND_DISPLAY="$display" QT_QPA_PLATFORM=wayland \
    WAYLAND_DEBUG=client LADOTON_SYNTH_AUDIO=no-such-output "$wl/bin/ladoton") \
    </dev/null >"$E2E_DIR/program.out" 2>"$E2E_DIR/program.wayland" &
E2E_PROGRAM_PID=$!
e2e_track "$E2E_PROGRAM_PID"

# program_windows: the program's windows as "ID X Y WIDTH HEIGHT NAME", their client areas in
# the output's pixels.
program_windows() {
    swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("pid") == int(sys.argv[1]) and node.get("window_rect"):
        outer, inner = node["rect"], node["window_rect"]
        print(node["id"], outer["x"] + inner["x"], outer["y"] + inner["y"],
              inner["width"], inner["height"], node["name"])
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$E2E_PROGRAM_PID"
}
two_windows() { (($(program_windows | wc -l) == 2)); }
e2e_wait_for 60 "the main window and the message box" two_windows
read -r _ x y width height _ < <(program_windows | grep ' Ладотон')
read -r box_id box_x box_y box_width box_height _ < <(program_windows | grep -v ' Ладотон')
e2e_log "main window at $x,$y ${width}x$height, message box at $box_x,$box_y ${box_width}x$box_height"
((box_x >= x && box_y >= y && box_x + box_width <= x + width &&
    box_y + box_height <= y + height)) || e2e_fail "the message box is not over the window"
centre_off_x=$((2 * box_x + box_width - 2 * x - width))
centre_off_y=$((2 * box_y + box_height - 2 * y - height))
((${centre_off_x#-} <= 40 && ${centre_off_y#-} <= 40)) ||
    e2e_fail "the message box is not centred over the window"
swaymsg "[con_id=$box_id] kill" >/dev/null
one_window() { (($(program_windows | wc -l) == 1)); }
e2e_wait_for 10 "the message box to close" one_window

# A right click in the empty strip at the bottom of the window.
pointer_x=$((x + 20))
pointer_y=$((y + height - 4))
popups() { grep -c 'xdg_popup@[0-9]*\.configure(' "$E2E_DIR/program.wayland" || true; }
pointer move "$pointer_x" "$pointer_y"
pointer press right
pointer release right
menu_configured() { (($(popups) >= 1)); }
e2e_wait_for 10 "the device menu" menu_configured
# The popup's place is relative to the window's client area.
read -r menu_x menu_y menu_width menu_height < <(
    sed -n 's/.*xdg_popup@[0-9]*\.configure(\(-\{0,1\}[0-9]*\), \(-\{0,1\}[0-9]*\), \([0-9]*\), \([0-9]*\)).*/\1 \2 \3 \4/p' \
        "$E2E_DIR/program.wayland" | tail -n 1)
menu_x=$((x + menu_x))
menu_y=$((y + menu_y))
e2e_log "right click at $pointer_x,$pointer_y; menu at $menu_x,$menu_y ${menu_width}x$menu_height"
if command -v grim >/dev/null; then
    as_wayland_user WAYLAND_DISPLAY="$display" grim "$wl/home/menu.png" &&
        cp "$wl/home/menu.png" "$E2E_DIR/wayland-menu.png"
fi
((menu_x <= pointer_x && pointer_x < menu_x + menu_width)) ||
    e2e_fail "the menu does not stand under the pointer"
top_off=$((menu_y - pointer_y))
bottom_off=$((menu_y + menu_height - pointer_y))
((${top_off#-} <= 40 || ${bottom_off#-} <= 40)) ||
    e2e_fail "the menu opened $top_off pixels below the pointer"

pointer move 1 1
pointer press left
pointer release left
e2e_program_alive || e2e_fail "the program ended"
e2e_log "PASS"
