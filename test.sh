#!/usr/bin/env bash
# Sets up, builds and runs every test. The logic tests run twice: once with AddressSanitizer
# and UndefinedBehaviorSanitizer, once in the normal build together with the window and
# end-to-end tests, whose ctest summary closes the output.
set -euo pipefail
LUNOR_ROOT=$(cd "$(dirname "$0")" && pwd)
source "$LUNOR_ROOT/scripts/setup.sh"

lunor_install_packages
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

echo "== Sanitizer build (address, undefined): logic tests"
lunor_build "$LUNOR_ROOT/build-asan" -DLUNOR_SANITIZE=ON -DLUNOR_BUILD_GUI=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$LUNOR_ROOT/build-asan" --output-on-failure -L logic

echo "== Normal build: every test"
lunor_build "$LUNOR_ROOT/build" -DLUNOR_BUILD_TESTS=ON
ctest --test-dir "$LUNOR_ROOT/build" --output-on-failure
