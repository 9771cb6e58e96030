#!/usr/bin/env bash
# Runs the GoogleTest cases that FILTER selects, from the unit test program TESTS, as a user to whom
# permissions apply: as it is for an ordinary user, and as the user nobody when run by root (who may
# write any folder, so those cases skip themselves). Fails when a case fails or is skipped.
# Usage: AsOtherUser.sh TESTS FILTER
set -euo pipefail
tests="$1"
filter="$2"
if [ "$(id -u)" -eq 0 ]; then
    # nobody may not be able to reach the build folder: the program runs from a folder of its own.
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    chmod 755 "$work"
    cp "$tests" "$work/tests"
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent TMPDIR=/tmp "$work/tests")
else
    run=("$tests")
fi
output="$("${run[@]}" --gtest_filter="$filter" 2>&1)" || {
    echo "$output"
    exit 1
}
echo "$output"
if grep -q '^\[  SKIPPED \]' <<<"$output" || ! grep -q '^\[  PASSED  \] [1-9]' <<<"$output"; then
    echo "FAIL: a case was skipped or none ran" >&2
    exit 1
fi
