#!/bin/sh
# Makes a database N times the size of another, for the benchmarks: every monster file holds its
# records N times over (the status file's placeholder line once), the item files are copied.
#
#   bench/grow-database.sh /path/to/database /tmp/grown 15
#   MDB_BENCH_DATA=/tmp/grown build/bin/ui_bench --benchmark_filter='Update.*/data'
set -eu
[ $# -eq 3 ] || { echo "usage: $0 FROM TO TIMES" >&2; exit 2; }
from=$1 to=$2 times=$3
mkdir -p "$to"
for f in "$from"/*.txt; do
    name=$(basename "$f")
    case $name in
    item_*) cp "$f" "$to/$name" ;;
    mob_stat_db.txt)
        { cat "$f"; i=1; while [ "$i" -lt "$times" ]; do tail -n +2 "$f"; i=$((i + 1)); done; } \
            >"$to/$name" ;;
    *) { i=0; while [ "$i" -lt "$times" ]; do cat "$f"; i=$((i + 1)); done; } >"$to/$name" ;;
    esac
done
