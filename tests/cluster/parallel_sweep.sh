#!/bin/bash
# A planned sweep run through GNU parallel on this host, collected, equals
# the threaded sweep.
. "$(dirname "$0")/common.sh"
trap 'rm -rf "$WORK"' EXIT
command -v parallel >/dev/null || { echo "GNU parallel is not installed (make deps)"; exit 1; }
threaded_sweep
plan
parallel --will-cite --halt now,fail=1 -j 2 < "$WORK/plan/jobs.txt"
compare
