#!/usr/bin/env bash
# `./scripts/test` never passes without running a test: after a configure that switched the
# tests off (as the package build does in a folder of its own, or a user in build/), the script
# either switches them back on and runs them, or fails. Run on a scratch build folder, with the
# build step left out (a `cmake` in front on the PATH skips `--build`) and ctest told to run
# only this test, whose inner run just passes.
#
#   run-test-guard.sh <source folder> <scratch folder>
set -uo pipefail

if [[ -n "${MDB_TEST_GUARD_INNER:-}" ]]; then
    echo "test guard: reached"
    exit 0
fi

source_dir="$(realpath "$1")"
scratch="$2"
rm -rf "$scratch"
mkdir -p "$scratch/bin"
scratch="$(realpath "$scratch")"

real_cmake="$(command -v cmake)"
cat >"$scratch/bin/cmake" <<SHIM
#!/bin/sh
[ "\$1" = "--build" ] && exit 0
exec "$real_cmake" "\$@"
SHIM
chmod +x "$scratch/bin/cmake"

"$real_cmake" -S "$source_dir" -B "$scratch/build" -G Ninja -DMDB_BUILD_TESTS=OFF \
    -DMDB_BUILD_BENCH=OFF >"$scratch/configure.log" 2>&1 || {
    cat "$scratch/configure.log"
    echo "FAILED: the tests-off configure"
    exit 1
}

status=0
(cd "$source_dir" && PATH="$scratch/bin:$PATH" MDB_BUILD_DIR="$scratch/build" \
    MDB_TEST_GUARD_INNER=1 ./scripts/test -R '^scripts_test_guard$') >"$scratch/run.log" 2>&1 ||
    status=$?
cat "$scratch/run.log"
if [[ "$status" -eq 0 ]] && ! grep -Eq "Test +#[0-9]+: scripts_test_guard .* Passed" "$scratch/run.log"; then
    echo "FAILED: ./scripts/test passed without running a test"
    exit 1
fi
echo "ok: ./scripts/test after a tests-off configure: status $status"
