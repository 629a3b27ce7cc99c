#!/usr/bin/env bash
# End-to-end tests of the real program: copies lunortime and libKelmu.so into a fresh program
# folder with the recorder plug-in, settings and a task list, starts it under a virtual X
# server and ends it with SIGTERM, as the system does at shutdown.
#
#   end_to_end.sh <program folder> <fixture plug-in folder> <version> <output folder>
#
# Runs under an X server (ctest starts it through xvfb-run). Screenshots of the main window
# and of the open confirmation box are left in the output folder.
set -u

program_dir=$1
fixture_dir=$2
version=$3
output_dir=$4

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

gbk() { sed 's/$/\r/' | iconv -f UTF-8 -t GBK; }
utf8() { iconv -f GBK -t UTF-8 "$1" | tr -d '\r'; }

# wait_for <seconds> <command...>: true as soon as the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}

count_lines() { # <file> <pattern>
    if [ -f "$1" ]; then grep -c -- "$2" "$1"; else echo 0; fi
}

make_folder() {
    local folder
    folder=$(mktemp -d)
    cp "$program_dir/lunortime" "$program_dir/libKelmu.so" "$folder/"
    mkdir "$folder/程序功能"
    cp "$fixture_dir/recorder.dll" "$folder/程序功能/"
    echo "$folder"
}

# stop <pid>: SIGTERM, then the exit status (124 when it did not end within 10 seconds).
stop() {
    kill -TERM "$1"
    local deadline=$((SECONDS + 10))
    while kill -0 "$1" 2>/dev/null; do
        if [ $SECONDS -ge $deadline ]; then
            kill -KILL "$1"
            wait "$1"
            return 124
        fi
        sleep 0.1
    done
    wait "$1"
}

mkdir -p "$output_dir"
runtime_dir=$(mktemp -d) # private (0700), as Qt wants it
export XDG_RUNTIME_DIR=$runtime_dir
unset LUNOR_FIXTURE_LOG LUNOR_FIXTURE_NAME LUNOR_FIXTURE_PARAMETER_TEXT LUNOR_FIXTURE_PARAMETER_RESULT

# ---------------------------------------------------------------------------------------------
echo "== due tasks run, the list is saved at SIGTERM"
folder=$(make_folder)
gbk > "$folder/CFG.dll" <<'INI'
[config]
CB_save=1
INI
gbk > "$folder/mission.mss" <<'INI'
[1]
1=A - 倒计时方式
2=记录器
3=hello
4=剩余时间
5=保留
6=0
7=0
8=0
bool=1
[2]
1=A - 倒计时方式
2=记录器
3=参数二
4=剩余时间
5=删除
6=2
7=2
8=0
bool=1
[3]
1=A - 倒计时方式
2=记录器
3=
4=剩余时间
5=保留
6=100000
7=100000
8=0
bool=1
INI

case $(ldd "$folder/lunortime" | grep libKelmu) in
    *"$folder/libKelmu.so"*) ;;
    *) fail "libKelmu.so is not found beside the executable" ;;
esac

"$folder/lunortime" &
pid=$!
log=$folder/fixture-log.txt
runs_at_least() { [ "$(count_lines "$log" $'\tRun\t')" -ge "$1" ]; }
if ! wait_for 20 runs_at_least 2; then
    fail "the due tasks did not run"
fi
window=$(xdotool search --onlyvisible --name "Lunor" 2>/dev/null | head -n 1)
if [ -z "$window" ]; then
    fail "no main window"
else
    title=$(xdotool getwindowname "$window")
    [ "$title" = "Lunor定时系统 v$version" ] || fail "caption is '$title'"
    geometry=$(xdotool getwindowgeometry "$window" | grep Geometry)
    [ "$geometry" = "  Geometry: 690x330" ] || fail "window size: $geometry"
fi
sleep 1.2 # one more status bar refresh after the runs
import -window root "$output_dir/end_to_end_main_window.png" || fail "no screenshot"
kill -0 "$pid" 2>/dev/null || fail "the program ended by itself"
stop "$pid"
status=$?
[ $status -eq 0 ] || fail "exit status $status after SIGTERM"

runs=$(utf8 "$log" | grep $'\tRun\t')
expected_runs=$(printf 'recorder.dll\tRun\trefcount=1\tlength=5\tnul=yes\ttext=hello\nrecorder.dll\tRun\trefcount=1\tlength=6\tnul=yes\ttext=参数二')
[ "$runs" = "$expected_runs" ] || fail "runs recorded: $runs"

saved=$(utf8 "$folder/mission.mss")
sections=$(echo "$saved" | grep '^\[')
[ "$sections" = $'[1]\n[3]' ] || fail "saved sections: $sections"
first_row=$'[1]\n1=A - 倒计时方式\n2=记录器\n3=hello\n4=剩余时间\n5=保留\n6=0\n7=0\n8=0\nbool=0\n'
[[ "$saved" == *"$first_row"* ]] || fail "first row not saved as stopped: $saved"
counter=$(echo "$saved" | sed -n '/^\[3\]/,$p' | sed -n 's/^6=//p')
if [ -z "$counter" ] || [ "$counter" -ge 100000 ] || [ "$counter" -lt 99900 ]; then
    fail "third row's counter after the run: '$counter'"
fi
echo "$saved" | sed -n '/^\[3\]/,$p' | grep -q '^bool=1$' || fail "third row not armed"
rm -rf "$folder"

# ---------------------------------------------------------------------------------------------
echo "== SIGTERM while the confirmation box is open"
folder=$(make_folder)
gbk > "$folder/CFG.dll" <<'INI'
[config]
CB_ok=1
CB_save=1
INI
gbk > "$folder/mission.mss" <<'INI'
[1]
1=A - 倒计时方式
2=记录器
3=x
4=剩余时间
5=保留
6=0
7=0
8=0
bool=1
INI
"$folder/lunortime" &
pid=$!
log=$folder/fixture-log.txt
box_open() { xdotool search --onlyvisible --name "确认执行" >/dev/null 2>&1; }
if ! wait_for 20 box_open; then
    fail "no confirmation box"
fi
sleep 1.5 # ticks go on behind the box
import -window root "$output_dir/end_to_end_confirmation.png" || fail "no screenshot"
config_before=$(md5sum < "$folder/CFG.dll")
stop "$pid"
status=$?
[ $status -eq 0 ] || fail "exit status $status after SIGTERM during the box"
[ "$(count_lines "$log" $'\tRun\t')" -eq 0 ] || fail "a run happened: $(utf8 "$log")"
[ "$(md5sum < "$folder/CFG.dll")" = "$config_before" ] || fail "CFG.dll written at the end"
saved=$(utf8 "$folder/mission.mss")
echo "$saved" | grep -q '^bool=0$' || fail "the row was not saved as stopped: $saved"
rm -rf "$folder"

rm -rf "$runtime_dir"
if [ $failures -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "all passed"
