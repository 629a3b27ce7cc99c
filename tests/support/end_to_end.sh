# Helpers of the end-to-end scripts; sourced. fail counts into $failures, finish reports.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Exit status of the script: 1 after any failure.
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures failure(s)" >&2
        exit 1
    fi
    echo "all passed"
}

# wait_for <seconds> <command...>: true as soon as the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.2
    done
}

# Text as the program keeps it (code page 936, CR LF), and back.
gbk() { sed 's/$/\r/' | iconv -f UTF-8 -t GBK; }
utf8() { iconv -f GBK -t UTF-8 "$1" | tr -d '\r'; }

count_lines() { # <file> <pattern>
    if [ -f "$1" ]; then grep -c -- "$2" "$1"; else echo 0; fi
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
