#!/usr/bin/env bash
# The real program's idle tasks under a virtual X server, once with the X server's own idle
# time and once with a fake GNOME idle monitor on a private session bus. The X server sees no
# input during the whole test; the desktop says when the user is at work.
#
#   idle_end_to_end.sh <program folder> <fixture plug-in folder> <fake_desktop.py> <output folder>
#
# Runs under an X server (ctest starts it through xvfb-run).
set -u

program_dir=$1
fixture_dir=$2
fake_desktop=$3
output_dir=$4

source "$(dirname "$0")/../support/end_to_end.sh"

# A program folder with the recorder plug-in and a task list: one idle row that runs after
# 3 seconds without input, and <extra> idle rows that are far from due.
make_folder() { # <extra rows>
    local folder row
    folder=$(mktemp -d)
    cp "$program_dir/lunortime" "$program_dir/libKelmu.so" "$folder/"
    mkdir "$folder/程序功能"
    cp "$fixture_dir/recorder.dll" "$folder/程序功能/"
    printf '[config]\nCB_save=1\n' | gbk > "$folder/CFG.dll"
    {
        printf '[1]\n1=A - 系统无操作方式\n2=记录器\n3=idle\n4=剩余时间\n5=保留\n6=3\n7=3\n8=4\nbool=1\n'
        for ((row = 2; row <= $1 + 1; row++)); do
            printf '[%d]\n1=A - 系统无操作方式\n2=记录器\n3=far\n4=剩余时间\n5=保留\n6=100000\n7=100000\n8=4\nbool=1\n' "$row"
        done
    } | gbk > "$folder/mission.mss"
    echo "$folder"
}

mkdir -p "$output_dir"
runtime_dir=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime_dir
export XDG_SESSION_TYPE=x11
unset WAYLAND_DISPLAY LUNOR_FIXTURE_LOG LUNOR_FIXTURE_NAME
bus_pid=
fake_pid=

# ---------------------------------------------------------------------------------------------
echo "== without a desktop service the X server's idle time runs the idle row"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime_dir/no-bus"
folder=$(make_folder 0)
log=$folder/fixture-log.txt
"$folder/lunortime" &
pid=$!
ran() { [ "$(count_lines "$log" $'\tRun\t')" -ge 1 ]; }
wait_for 15 ran || fail "the idle row did not run on the X server's idle time"
stop "$pid" || fail "exit status $? after SIGTERM"
rm -rf "$folder"

# ---------------------------------------------------------------------------------------------
echo "== with GNOME's idle monitor reporting input, the idle row waits for the desktop"
bus_out=$runtime_dir/bus-address
dbus-daemon --session --nofork --print-address=1 > "$bus_out" &
bus_pid=$!
wait_for 10 test -s "$bus_out" || fail "no private bus"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$bus_out")
export DBUS_SESSION_BUS_ADDRESS
calls=$runtime_dir/calls.log
idle=$runtime_dir/idle-ms
echo 0 > "$idle"
fake_out=$runtime_dir/fake.out
/usr/bin/python3 "$fake_desktop" --log "$calls" --idle-file "$idle" mutter > "$fake_out" &
fake_pid=$!
wait_for 10 grep -q ready "$fake_out" || fail "the fake idle monitor did not start"

folder=$(make_folder 300)
log=$folder/fixture-log.txt
"$folder/lunortime" &
pid=$!
started=$(date +%s%N)
asked() { [ "$(count_lines "$calls" GetIdletime)" -ge 6 ]; }
wait_for 20 asked || fail "the program did not ask the idle monitor"
# Six seconds of passes with the X server idle all the time: the row must not have run.
[ "$(count_lines "$log" $'\tRun\t')" -eq 0 ] || fail "the idle row ran while the user was at work"
import -window root "$output_dir/idle_user_at_work.png" || fail "no screenshot"

echo 4000 > "$idle.new" && mv "$idle.new" "$idle" # the user has left for four seconds
wait_for 5 ran || fail "the idle row did not run once the desktop reported idle time"
runs=$(count_lines "$log" $'\tRun\t')
[ "$runs" -eq 1 ] || fail "$runs runs instead of the one due row"
sleep 1.2
import -window root "$output_dir/idle_user_away.png" || fail "no screenshot"

# 301 idle rows and the status bar each second: one question a second, not one a row.
questions=$(count_lines "$calls" GetIdletime)
elapsed=$((($(date +%s%N) - started) / 1000000000))
[ "$questions" -le $((elapsed + 3)) ] || fail "$questions questions in $elapsed s with 301 idle rows"
stop "$pid" || fail "exit status $? after SIGTERM"
rm -rf "$folder"

kill -TERM "$fake_pid" "$bus_pid"
wait "$fake_pid" "$bus_pid" 2>/dev/null
rm -rf "$runtime_dir"
finish
