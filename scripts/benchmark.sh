#!/usr/bin/env bash
# Builds the benchmarks in an optimised build and runs them.
set -euo pipefail
LUNOR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$LUNOR_ROOT/scripts/setup.sh"
lunor_install_packages
cmake -S "$LUNOR_ROOT" --preset bench >/dev/null
cmake --build "$LUNOR_ROOT/build-bench" -j "$(nproc)" --target lunor_benchmarks lunor_program_benchmarks
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
"$LUNOR_ROOT/build-bench/bench/lunor_benchmarks"
"$LUNOR_ROOT/build-bench/bench/lunor_program_benchmarks"
