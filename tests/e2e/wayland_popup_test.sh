#!/usr/bin/env bash
# On Wayland (sway's headless backend, Qt's wayland platform): a message box opens over the
# window, and a right click near the bottom of the window opens the device menu at the pointer.
# A Wayland window has no place on the screen that the program knows, so a menu placed from
# screen coordinates lands elsewhere. Where the menu landed is the compositor's word: the
# configure event of its popup surface. sway refuses root, so as root the compositor and the
# program run as the user nobody. Reported as skipped where sway or Qt's Wayland platform is
# missing.
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

skip() {
    e2e_log "SKIP: $*"
    exit 77
}
command -v sway >/dev/null || skip "no Wayland compositor (Debian's sway)"
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
    skip "no Qt Wayland platform (Debian's qt6-wayland)"
pointer_holder=$(dirname "$E2E_KEYS")/ladoton_wayland_pointer
[[ -x $pointer_holder ]] || skip "no pointer holder (built where libwayland-dev is)"
user_switch=()
if [[ $(id -u) -eq 0 ]]; then
    id nobody >/dev/null 2>&1 || skip "running as root on a machine without the user nobody"
    user_switch=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi

# The user's folder: the programs, the runtime folder with the sockets, the working folder.
wl=$E2E_DIR/wayland
mkdir -p "$wl/bin" "$wl/run" "$wl/home"
chmod 755 "$E2E_DIR" "$wl" "$wl/bin"
chmod 700 "$wl/run"
cp "$E2E_PROGRAM" "$pointer_holder" "$wl/bin/"
((${#user_switch[@]} == 0)) || chown nobody "$wl/run" "$wl/home"
printf 'output * resolution 1280x1024 position 0 0\nxwayland disable\n' >"$wl/sway.conf"
chmod 644 "$wl/sway.conf"
# "${as_user[@]}" COMMAND: runs COMMAND as the user, in its working folder and session. Before
# the compositor runs, no variable of its session is set: sway takes an empty SWAYSOCK for a name.
as_user=("${user_switch[@]}" env -i -C "$wl/home" PATH="$PATH" HOME="$wl/home"
    XDG_RUNTIME_DIR="$wl/run")

"${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$wl/sway.conf" </dev/null >"$E2E_DIR/sway.log" 2>&1 &
e2e_track $!
e2e_wait_for 30 "the compositor" compgen -G "$wl/run/sway-ipc.*.sock"
swaysock=$(compgen -G "$wl/run/sway-ipc.*.sock" | head -n 1)
display=$(cd "$wl/run" && compgen -G 'wayland-[0-9]*' | grep -v '\.lock$' | head -n 1)
as_user+=(WAYLAND_DISPLAY="$display" SWAYSOCK="$swaysock")
"${as_user[@]}" "$wl/bin/ladoton_wayland_pointer" >"$E2E_DIR/pointer.out" \
    2>"$E2E_DIR/pointer.err" &
e2e_track $!
e2e_wait_for 10 "the virtual pointer" grep -qx ok "$E2E_DIR/pointer.out"

# The built-in synthesizer with an audio output no machine has cannot start, which the program
# reports in a message box.
"${as_user[@]}" QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client LADOTON_SYNTH_AUDIO=none \
    "$wl/bin/ladoton" </dev/null >"$E2E_DIR/program.out" 2>"$E2E_DIR/program.wayland" &
E2E_PROGRAM_PID=$!
e2e_track "$E2E_PROGRAM_PID"

# windows: the program's windows as "ID X Y WIDTH HEIGHT NAME", client areas on the output.
windows() {
    "${as_user[@]}" swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("pid") == int(sys.argv[1]) and node.get("window_rect"):
        outer, inner = node["rect"], node["window_rect"]
        print(node["id"], outer["x"] + inner["x"], outer["y"] + inner["y"], inner["width"],
              inner["height"], node["name"])
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))' "$E2E_PROGRAM_PID"
}
e2e_wait_for 60 "the window and the message box" eval '(($(windows | wc -l) == 2))'
read -r _ x y width height _ < <(windows | grep ' Ладотон')
read -r box box_x box_y box_width box_height _ < <(windows | grep -v ' Ладотон')
e2e_log "window at $x,$y ${width}x$height, message box at $box_x,$box_y ${box_width}x$box_height"
# Centred across; down, the window may still be settling its height when the box is placed.
off_x=$((2 * box_x + box_width - 2 * x - width))
((${off_x#-} <= 40)) || e2e_fail "the message box is not centred on the window"
((box_y >= y && box_y + box_height <= y + height)) || e2e_fail "the message box is not over the window"
"${as_user[@]}" swaymsg "[con_id=$box] kill" >/dev/null
e2e_wait_for 10 "the message box to close" eval '(($(windows | wc -l) == 1))'

# A right click in the empty strip at the bottom of the window.
pointer_x=$((x + 20))
pointer_y=$((y + height - 4))
"${as_user[@]}" swaymsg "seat - cursor set $pointer_x $pointer_y" >/dev/null
"${as_user[@]}" swaymsg "seat - cursor press button3" >/dev/null
"${as_user[@]}" swaymsg "seat - cursor release button3" >/dev/null
popup_configure='xdg_popup@[0-9]*\.configure(\(-*[0-9]*\), \(-*[0-9]*\), \([0-9]*\), \([0-9]*\))'
e2e_wait_for 10 "the device menu" grep -q "$popup_configure" "$E2E_DIR/program.wayland"
# The popup's place is relative to the window's client area.
read -r menu_x menu_y menu_width menu_height < <(
    sed -n "s/.*$popup_configure.*/\\1 \\2 \\3 \\4/p" "$E2E_DIR/program.wayland" | tail -n 1)
menu_x=$((x + menu_x))
menu_y=$((y + menu_y))
e2e_log "right click at $pointer_x,$pointer_y; menu at $menu_x,$menu_y ${menu_width}x$menu_height"
if command -v grim >/dev/null && "${as_user[@]}" grim menu.png; then
    cp "$wl/home/menu.png" "$E2E_DIR/wayland-menu.png"
fi
((menu_x <= pointer_x && pointer_x < menu_x + menu_width)) ||
    e2e_fail "the menu does not stand under the pointer"
top=$((menu_y - pointer_y))
bottom=$((menu_y + menu_height - pointer_y))
((${top#-} <= 40 || ${bottom#-} <= 40)) || e2e_fail "the menu opened $top pixels below the pointer"
e2e_program_alive || e2e_fail "the program ended"
e2e_log "PASS"
