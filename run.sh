#!/usr/bin/env bash
# Sets up, builds the portable program folder and starts the program.
set -euo pipefail
LUNOR_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$LUNOR_ROOT/scripts/setup.sh"

lunor_install_packages
lunor_build program "$LUNOR_ROOT/build"

program_dir="$LUNOR_ROOT/build/LunorTime"
if [ ! -x "$program_dir/lunortime" ]; then
    echo "Built the program folder: $program_dir"
    exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting lunortime with the offscreen platform; its tasks still run."
    echo "Stop it with Ctrl+C (the task list is saved when auto-save is on)."
    export QT_QPA_PLATFORM=offscreen
fi
exec "$program_dir/lunortime"
