#!/bin/bash
# Runs one command inside a private X session: Xvfb on a free display
# (-displayfd picks it), optionally openbox as window manager (stacking and
# tool windows need one) and trayer as system-tray host.
# usage: x11-session.sh [--wm] [--tray] [--screen WxH] -- command [args...]
set -u
wm=0
tray=0
screen=1920x1080
while [ $# -gt 0 ]; do
    case "$1" in
        --wm) wm=1 ;;
        --tray) tray=1; wm=1 ;;
        --screen) shift; screen="$1" ;;
        --) shift; break ;;
        *) break ;;
    esac
    shift
done

work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/displayfd"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${screen}x24" 3>"$work/displayfd" \
    2>"$work/xvfb.log" &
pids+=($!)
read -r display <"$work/displayfd" || { cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display"
export XAUTHORITY=/dev/null
# A Wayland session around the tests must not send them to its portal.
unset WAYLAND_DISPLAY XDG_SESSION_TYPE

if [ "$wm" = 1 ]; then
    mkfifo "$work/wmready"
    # An empty configuration, valid XML: with none openbox shows an error
    # window over the desktop the tests look at.
    echo '<openbox_config xmlns="http://openbox.org/3.4/rc"/>' >"$work/rc.xml"
    openbox --sm-disable --config-file "$work/rc.xml" \
        --startup "sh -c 'echo up > $work/wmready'" 2>"$work/openbox.log" &
    pids+=($!)
    read -r _ <"$work/wmready"
fi
if [ "$tray" = 1 ]; then
    trayer --edge top --align right --widthtype request --height 32 \
        --SetDockType true 2>"$work/trayer.log" &
    pids+=($!)
    xdotool search --sync --classname trayer >/dev/null
fi

"$@"
rc=$?
exit $rc
