#!/bin/bash
# Builds the Debian package, checks what it holds, unpacks it into a temporary
# root (never the machine's own) and starts the unpacked program on the
# test's X server: the toolbar must appear and Help must open the guide in
# the interface's language.
# usage: test_package.sh <build folder> <version>
set -euo pipefail
build="$1"
version="$2"
work=$(mktemp -d)
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$work/out" >/dev/null) ||
    fail "cpack could not build the package"
deb=$(ls "$work"/out/tavelmark_"$version"_*.deb) || fail "no package named for $version"

# What an installation needs, where the system looks for it.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/contents"
for path in /usr/bin/tavelmark \
    /usr/share/applications/tavelmark.desktop \
    /usr/share/icons/hicolor/16x16/apps/tavelmark.png \
    /usr/share/icons/hicolor/48x48/apps/tavelmark.png \
    /usr/share/icons/hicolor/512x512/apps/tavelmark.png \
    /usr/share/icons/hicolor/scalable/apps/tavelmark.svg \
    /usr/share/metainfo/example.quillbury.tavelmark.metainfo.xml \
    /usr/share/man/man1/tavelmark.1.gz \
    /usr/share/doc/tavelmark/copyright \
    /usr/share/doc/tavelmark/changelog.gz \
    /usr/share/tavelmark/help.pdf \
    /usr/share/tavelmark/help_zh_CN.pdf \
    /usr/share/tavelmark/help_zh_TW.pdf \
    /etc/xdg/Quillbury/Tavelmark.conf; do
    grep -qx "$path" "$work/contents" || fail "$path is not in the package"
done
grep -q '^/usr/local' "$work/contents" && fail "the package installs into /usr/local"
for name in zip net pdf; do
    grep -q "^/usr/lib/\(.*/\)\?tavelmark/modules/libtavelmark_$name\.so$" "$work/contents" ||
        fail "the $name module is not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6network6 libquazip1-qt6 libqt6pdf6 libqpdf libc6; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
dpkg-deb -e "$deb" "$work/control"
grep -qx /etc/xdg/Quillbury/Tavelmark.conf "$work/control/conffiles" ||
    fail "the machine-wide configuration is not a conffile"

# The unpacked program, with the configuration of the unpacked package
# pointing into the temporary root.
root="$work/root"
dpkg-deb -x "$deb" "$root"
sed -i "s#^Path=.*#Path=$root/usr/share/tavelmark#" "$root/etc/xdg/Quillbury/Tavelmark.conf"
[ -x "$root/usr/bin/tavelmark" ] || fail "the program is not executable"
file "$root/usr/bin/tavelmark" | grep -q ", stripped" || fail "the program is not stripped"
[ "$(head -c 4 "$root/usr/share/tavelmark/help.pdf")" = "%PDF" ] || fail "help.pdf is no PDF"
for name in zip net; do
    module=$(find "$root/usr/lib" -name "libtavelmark_$name.so")
    [ -n "$module" ] || fail "libtavelmark_$name.so was not unpacked"
    ldd "$module" | grep -q "not found" && fail "$module lacks libraries: $(ldd "$module")"
done

# Help hands the guide to the desktop's opener; this one reports it.
mkdir -p "$work/bin" "$work/data/Quillbury/Tavelmark" "$work/run"
chmod 700 "$work/run"
mkfifo "$work/opened"
cat >"$work/bin/xdg-open" <<SCRIPT
#!/bin/sh
echo "\$1" >"$work/opened"
SCRIPT
chmod +x "$work/bin/xdg-open"
export XDG_CONFIG_DIRS="$root/etc/xdg" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
# The unpacked program finds its modules by itself, not in the build tree.
unset TAV_MODULE_DIR
export PATH="$work/bin:$PATH" XDG_CURRENT_DESKTOP=X-Generic

# Starts the unpacked program with its interface in language $1 and opens
# Help from the toolbar's menu; the opener must be handed the guide $2.
help_opens() {
    printf '[UserInterface]\nLanguage=%s\nShowTrayIcon=0\n' "$1" \
        >"$work/data/Quillbury/Tavelmark/Setting.ini"
    "$root/usr/bin/tavelmark" 2>"$work/program.log" &
    program_pid=$!
    toolbar=$(timeout 30 xdotool search --sync --onlyvisible --pid "$program_pid" \
        --name "Quillbury Tavelmark" | head -n 1) ||
        fail "no toolbar appeared: $(cat "$work/program.log")"
    eval "$(xdotool getwindowgeometry --shell "$toolbar")"
    # The menu button sits in the toolbar's top right corner; Help is the last
    # menu and its first entry opens the guide.
    xdotool mousemove $((X + WIDTH - 10)) $((Y + 9)) click 1
    # The menu is the program's window named after it alone.
    timeout 30 xdotool search --sync --onlyvisible --pid "$program_pid" --name '^Tavelmark$' \
        >/dev/null || fail "the menu did not open"
    xdotool key Up Right Return
    opened=$(timeout 30 cat "$work/opened") || fail "Help opened nothing in $1"
    [ "$opened" = "file://$root/usr/share/tavelmark/$2" ] || fail "Help in $1 opened $opened"
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true
    program_pid=
}
help_opens en_GB help.pdf
help_opens zh_CN help_zh_CN.pdf
help_opens zh_TW help_zh_TW.pdf

# --version answers at once, without a window or the single-instance lock.
printed=$(timeout 15 "$root/usr/bin/tavelmark" --version 2>/dev/null) || fail "--version failed"
[[ "$printed" == *"$version"* ]] || fail "--version printed '$printed'"
echo "package $(basename "$deb") passed"
