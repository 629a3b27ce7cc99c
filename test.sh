#!/usr/bin/env bash
# Sets up, builds and runs every test twice: once with AddressSanitizer and
# UndefinedBehaviorSanitizer, once in the normal build, whose ctest summary closes the output.
# Both builds treat warnings as errors.
set -euo pipefail
LUNOR_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$LUNOR_ROOT/scripts/setup.sh"

lunor_install_packages
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"

echo "== Sanitizer build (address, undefined): every test"
lunor_build sanitize "$LUNOR_ROOT/build-asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS=suppressions=$LUNOR_ROOT/tests/support/LeakSuppressions.txt \
    ctest --test-dir "$LUNOR_ROOT/build-asan" --output-on-failure

echo "== Normal build: every test"
lunor_build tests "$LUNOR_ROOT/build"
ctest --test-dir "$LUNOR_ROOT/build" --output-on-failure
