#!/usr/bin/env bash
# The per-user install into a temporary prefix (with a space in its path, as a home folder may
# have): the files where the desktop looks for them, the launcher and the AppStream file
# valid, the program started from the launcher as a desktop starts it, writing beside itself,
# and a second install keeping the user's files.
#
#   install_test.sh <build folder> <fixture plug-in folder> <application id>
#
# Runs under an X server (ctest starts it through xvfb-run).
set -u

build_dir=$1
fixture_dir=$2
app_id=$3

source "$(dirname "$0")/../support/end_to_end.sh"

root=$(mktemp -d)
prefix="$root/home of a user/.local"
runtime_dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime_dir
export XDG_SESSION_TYPE=x11
export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime_dir/no-bus"
unset WAYLAND_DISPLAY LUNOR_FIXTURE_LOG

install() {
    cmake --install "$build_dir" --prefix "$prefix" > "$root/install.log" 2>&1 \
        || { fail "the install failed:"; cat "$root/install.log" >&2; }
}

echo "== the files"
install
program_dir="$prefix/lib/lunortime"
launcher="$prefix/share/applications/$app_id.desktop"
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
for file in "$program_dir/lunortime" "$program_dir/libKelmu.so" "$launcher" "$metainfo" \
    "$prefix/share/icons/hicolor/scalable/apps/lunortime.svg"; do
    [ -f "$file" ] || fail "missing: ${file#"$prefix"/}"
done
[ -d "$program_dir/程序功能" ] || fail "no plug-in folder"
[ -x "$program_dir/lunortime" ] || fail "the program is not executable"
for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/lunortime.png"
    actual=$(identify -format '%wx%h' "$icon" 2>/dev/null)
    [ "$actual" = "${size}x${size}" ] || fail "icon $size: '$actual'"
done
case $(ldd "$program_dir/lunortime" | grep libKelmu) in
    *"$program_dir/libKelmu.so"*) ;;
    *) fail "the installed program does not find libKelmu.so beside itself" ;;
esac

echo "== the launcher and the AppStream file"
desktop-file-validate "$launcher" || fail "the launcher is not valid"
appstreamcli validate --no-net "$metainfo" || fail "the AppStream file is not valid"
grep -qx 'Icon=lunortime' "$launcher" || fail "the launcher's icon: $(grep '^Icon=' "$launcher")"
grep -qx 'Type=Application' "$launcher" || fail "not an application launcher"

echo "== the program starts from the launcher"
cp "$fixture_dir/recorder.dll" "$program_dir/程序功能/"
gio launch "$launcher" 2> "$root/launch.log" || fail "gio launch failed: $(cat "$root/launch.log")"
window_up() { xdotool search --onlyvisible --name "Lunor" > "$root/window" 2>/dev/null; }
if wait_for 20 window_up; then
    window=$(head -n 1 "$root/window")
    pid=$(xdotool getwindowpid "$window")
    # The window shows the program's own icon, the launcher's picture.
    icons=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
    for size in 16 32 48 128; do
        [[ "$icons" == *"Icon ($size x $size)"* ]] || fail "no $size-pixel window icon: $icons"
    done
    [ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$program_dir/lunortime")" ] \
        || fail "the window belongs to $(readlink -f "/proc/$pid/exe")"
    # Its settings file is beside the installed executable, with the plug-in found there.
    catalogued() { [ -f "$program_dir/CFG.dll" ] && utf8 "$program_dir/CFG.dll" | grep -q '记录器=recorder.dll'; }
    wait_for 10 catalogued || fail "no catalogue in the installed folder's CFG.dll"
    kill -TERM "$pid"
    gone() { ! kill -0 "$pid" 2>/dev/null; }
    wait_for 10 gone || { fail "did not end at SIGTERM"; kill -KILL "$pid"; }
else
    fail "no window from the launcher"
fi

echo "== a second install keeps the user's files"
printf '[config]\r\nhotkey=D\r\n' > "$program_dir/CFG.dll"
printf '[1]\r\n' > "$program_dir/mission.mss"
install
[ "$(cat "$program_dir/CFG.dll")" = "$(printf '[config]\r\nhotkey=D\r')" ] || fail "CFG.dll changed"
[ -f "$program_dir/mission.mss" ] || fail "mission.mss gone"
[ -f "$program_dir/程序功能/recorder.dll" ] || fail "an installed plug-in went"

rm -rf "$root" "$runtime_dir"
finish
