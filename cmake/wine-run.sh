#!/usr/bin/env bash
# Runs a cross-built program under Wine for CTest. Now and then Wine itself exits at once with an
# error and without a word, before the program has started (seen once on a fresh CI machine, not
# reproduced in hundreds of runs since); such a launch is tried again, at most twice, and says so.
# A program that ran and failed always prints something, so its failure is never retried.
set -uo pipefail
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2 3; do
    wine "$@" 2>"$err" | tee "$out"
    status=${PIPESTATUS[0]}
    cat "$err" >&2
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ "$attempt" -eq 3 ]; then
        exit "$status"
    fi
    echo "wine-run: Wine exited with $status before the program printed anything; launching it again" >&2
done
