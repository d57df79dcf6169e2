#!/bin/sh
# Fuzzes the catalogue reader for a bounded time, starting from writer-made catalogues; fails on
# any finding (crash, hang, leak, huge allocation, printed text), whose input lands in
# <work folder>/artifacts.
# usage: run_fuzz.sh <fuzz_catalogue> <fuzz_seeds> <work folder> <seconds> [libFuzzer options...]
set -eu
fuzzer=$1 seeds=$2 work=$3 seconds=$4
shift 4
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$seeds" "$work/seeds"
log="$work/fuzz.log"
status=0
ASAN_OPTIONS=${ASAN_OPTIONS:-max_malloc_fill_size=0:quarantine_size_mb=16} TMPDIR=${TMPDIR:-/dev/shm} "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@" "$work/corpus" "$work/seeds" >"$log" 2>&1 || status=$?
grep '^stat::' "$log"
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzzer failed with status $status; inputs in $work/artifacts" >&2
    exit 1
fi
