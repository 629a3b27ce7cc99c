#!/usr/bin/env bash
# Fails on any file the formatter would change and on any clang-tidy finding. Needs the
# normal build (./test.sh makes it) for its compile commands and generated files.
set -euo pipefail
LUNOR_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$LUNOR_ROOT"

echo "== Format check (clang-format)"
mapfile -t sources < <(git ls-files '*.c' '*.cpp' '*.h')
clang-format --dry-run -Werror "${sources[@]}"

echo "== clang-tidy"
# The compile commands of the build without the GCC-only options clang does not know.
mkdir -p build/lint
python3 - build/compile_commands.json build/lint/compile_commands.json <<'PY'
import json, sys
commands = json.load(open(sys.argv[1]))
for entry in commands:
    entry["command"] = entry["command"].replace(" -fno-gnu-unique", "")
json.dump(commands, open(sys.argv[2], "w"))
PY
# Every translation unit of ours; generated ones (moc) are left out.
run-clang-tidy -p build/lint -quiet -j "$(nproc)" \
    "^$LUNOR_ROOT/(src|tests|bench|pluginkit|operations|examples)/.*\.(c|cpp)$" \
    > build/lint/clang-tidy.log 2>&1 || {
    grep -E "(warning|error):" build/lint/clang-tidy.log | sort -u | head -50
    echo "clang-tidy found problems; the whole log is build/lint/clang-tidy.log" >&2
    exit 1
}
echo "clang-format and clang-tidy: clean"
