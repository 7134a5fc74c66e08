#!/bin/bash
# Runs a command inside a headless Wayland desktop without a GPU: sway with
# XWayland, on a green background, under a session bus of its own. By default
# the desktop's screenshot portal runs there too (pipewire,
# xdg-desktop-portal-wlr, which takes pictures with grim, and
# xdg-desktop-portal, with the screenshot permission granted beforehand so
# that no dialog waits for a click). With --no-portal it is a bare compositor
# whose bus starts no service on demand.
#
#   wayland-session.sh [--no-portal] -- COMMAND [ARGS...]
#
# sway refuses to run as root: as root the session runs as an unprivileged
# test user (created when missing), otherwise as the invoking user. The
# command's status is this script's status; its output follows.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
portal=1
inside=0
while [ $# -gt 0 ]; do
    case "$1" in
        --no-portal) portal=0; shift ;;
        --inside) inside=1; shift ;;
        --) shift; break ;;
        *) echo "usage: $0 [--no-portal] -- COMMAND [ARGS...]" >&2; exit 2 ;;
    esac
done

# Runs in the desktop (started by sway): portals, then the command.
run_inside() {
    local state="$XDG_RUNTIME_DIR/session"
    local pids=()
    if [ "$portal" = 1 ]; then
        export XDG_CURRENT_DESKTOP=sway
        dbus-update-activation-environment WAYLAND_DISPLAY DISPLAY XDG_RUNTIME_DIR \
            XDG_CURRENT_DESKTOP
        pipewire >"$state/pipewire.log" 2>&1 &
        pids+=($!)
        /usr/libexec/xdg-desktop-portal-wlr >"$state/portal-wlr.log" 2>&1 &
        pids+=($!)
        gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore \
            --object-path /org/freedesktop/impl/portal/PermissionStore \
            --method org.freedesktop.impl.portal.PermissionStore.SetPermission \
            screenshot true screenshot '' "['yes']" >/dev/null
        /usr/libexec/xdg-desktop-portal >"$state/portal.log" 2>&1 &
        pids+=($!)
        gdbus wait --session --timeout 30 org.freedesktop.portal.Desktop
    fi
    set +e
    bash -c "$(cat "$state/command")" >"$state/output" 2>&1
    echo $? >"$state/status"
    # pipewire outlives its session bus: everything started here goes.
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
    swaymsg exit >/dev/null 2>&1
}

if [ "$inside" = 1 ]; then
    run_inside
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    user=tavwayland
    id "$user" >/dev/null 2>&1 || useradd --create-home --shell /bin/bash "$user"
    flags=()
    [ "$portal" = 0 ] && flags+=(--no-portal)
    exec runuser -u "$user" -- env PATH="$PATH" "$0" "${flags[@]}" -- "$@"
fi

runtime=$(mktemp -d /tmp/tav-wayland.XXXXXX)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT
mkdir "$runtime/session"
printf '%q ' "$@" >"$runtime/session/command"
cat >"$runtime/sway.conf" <<CONF
output * bg #10c81e solid_color
output * resolution 1280x800
xwayland enable
exec bash $(printf '%q' "$here/wayland-session.sh") --inside $([ "$portal" = 0 ] && echo --no-portal)
CONF

bus=()
[ "$portal" = 0 ] && bus=(--config-file="$here/private-bus.conf")
unset DISPLAY WAYLAND_DISPLAY XDG_SESSION_TYPE
export XDG_RUNTIME_DIR="$runtime" XDG_CURRENT_DESKTOP=sway
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    timeout 600 dbus-run-session "${bus[@]}" -- sway -c "$runtime/sway.conf" \
    >"$runtime/session/sway.log" 2>&1 || true

cat "$runtime/session/output" 2>/dev/null || true
if [ ! -f "$runtime/session/status" ]; then
    echo "The Wayland session did not run the command. sway said:" >&2
    tail -n 30 "$runtime/session/sway.log" >&2
    exit 1
fi
status=$(cat "$runtime/session/status")
if [ "$status" != 0 ]; then
    for log in portal portal-wlr; do
        [ -s "$runtime/session/$log.log" ] && { echo "--- $log:"; tail -n 20 "$runtime/session/$log.log"; }
    done
fi
exit "$status"
