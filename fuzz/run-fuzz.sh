#!/bin/sh
# Builds the fuzz target of the record reader (clang, libFuzzer, address and undefined-behaviour
# sanitizers) and runs it, seeded with the sample database and the files under tests/data.
#
#   fuzz/run-fuzz.sh runs 10000000      stop after that many executions
#   fuzz/run-fuzz.sh seconds 600        stop after that many seconds
#   fuzz/run-fuzz.sh runs 1000 -- ARGS  pass further options to libFuzzer
#
# Any input slower than a second counts as a failure. Findings land in build-fuzz/artifacts/;
# replay one with build-fuzz/fuzz_records FILE. The build folder can be moved with
# MDB_FUZZ_BUILD.
set -eu

if [ $# -lt 2 ] || { [ "$1" != runs ] && [ "$1" != seconds ]; }; then
    echo "usage: $0 runs N | seconds S [-- libFuzzer options]" >&2
    exit 2
fi
limit=$1 amount=$2
shift 2
[ "${1:-}" = -- ] && shift

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${MDB_FUZZ_BUILD:-$root/build-fuzz}

if ! command -v clang++ >/dev/null 2>&1 ||
    ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    echo "installing clang (libFuzzer and the sanitizer runtimes come with it)" >&2
    sudo=; [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends clang libclang-rt-14-dev ||
        $sudo apt-get install -y --no-install-recommends clang
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

# A seed is a file with the byte that picks its table in front (the order of fuzz_records.cpp:
# the monster files in their save order, then the three item files).
seeds=$build/seeds
corpus=$build/corpus
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$build/artifacts"
for file in "$root"/sample/*.txt "$root"/tests/data/*.txt; do
    name=$(basename "$file")
    case $name in
        mob_stat_db.txt | stat_*) pick=0 ;;
        mob_drop_db.txt | drop_*) pick=1 ;;
        mob_mvp_db.txt | mvp_*) pick=2 ;;
        mob_emote_db.txt | emote_*) pick=3 ;;
        mob_morph_db.txt | morph_*) pick=4 ;;
        summon_monster.txt) pick=5 ;;
        summon_slave.txt) pick=6 ;;
        item_consume_db.txt) pick=7 ;;
        item_drop_db.txt) pick=8 ;;
        item_equip_db.txt) pick=9 ;;
        *) continue ;;
    esac
    { printf "\\$(printf %03o "$pick")"; cat "$file"; } >"$seeds/$name"
done

if [ "$limit" = runs ]; then stop=-runs=$amount; else stop=-max_total_time=$amount; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$build/fuzz_records" "$stop" -timeout=1 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/" "$@" "$corpus" "$seeds"
