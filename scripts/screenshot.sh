#!/usr/bin/env bash
# Takes a screenshot of the main window: copies the built program folder to a temporary
# folder, gives it a few sample tasks, starts lunortime under a virtual X server (Xvfb),
# saves the screen as a PNG and ends the program with SIGTERM.
#
#   scripts/screenshot.sh [program folder] [output.png] [folder of plug-in modules]
#
# The program folder defaults to build/LunorTime; the output to lunortime.png. Modules
# (*.dll) of the third argument are copied into the plug-in folder, so that the operations
# list shows them.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
program_dir=${1:-$root/build/LunorTime}
output=${2:-lunortime.png}
plugins=${3:-}

if [ ! -x "$program_dir/lunortime" ]; then
    echo "No built program in $program_dir (build the target lunortime first)" >&2
    exit 1
fi
case $output in /*) ;; *) output=$PWD/$output ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program_dir/lunortime" "$program_dir/libKelmu.so" "$work/"
mkdir -p "$work/程序功能"
if [ -n "$plugins" ]; then
    cp "$plugins"/*.dll "$work/程序功能/"
fi

# Settings and task list are code page 936 text with CR LF line ends.
gbk() { sed 's/$/\r/' | iconv -f UTF-8 -t GBK; }
gbk > "$work/CFG.dll" <<'INI'
[config]
CB_save=1
CB_ok=1
INI
gbk > "$work/mission.mss" <<'INI'
[1]
1=A - 倒计时方式
2=记录器
3=hello
4=0:59:59
5=保留
6=3599
7=3600
8=0
bool=1
[2]
1=B - 定时方式
2=记录器
3=下班
4=剩余时间
5=删除
6=18:00:00
7=18:00:00
8=1
bool=1
[3]
1=A - 循环方式
2=记录器
3=
4=0:9:12
5=
6=552
7=600
8=2
bool=0
INI

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}
xvfb-run -a -s "-screen 0 720x360x24" bash -c '
    set -eu
    "$1/lunortime" &
    pid=$!
    # Wait for the main window, then for its first status bar refresh.
    if ! xdotool search --sync --onlyvisible --name "Lunor" >/dev/null 2>&1; then
        kill "$pid"; exit 1
    fi
    sleep 2
    import -window root "$2"
    kill -TERM "$pid"
    wait "$pid"
' screenshot "$work" "$output"
echo "$output"
