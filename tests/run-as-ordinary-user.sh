#!/usr/bin/env bash
# Runs a test program's permission tests as an ordinary user, as root ignores file permissions.
# The program is copied where that user can reach it: the build folder may lie in root's home.
set -euo pipefail
program="$1" filter="$2"
if [ "$(id -u)" -ne 0 ]; then
    exec "$program" --gtest_filter="$filter"
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/"
chmod 755 "$work" "$work/$(basename "$program")"
cd "$work"
output="$(TMPDIR=/tmp setpriv --reuid=65534 --regid=65534 --clear-groups \
    "$work/$(basename "$program")" --gtest_filter="$filter" 2>&1)" || { echo "$output"; exit 1; }
echo "$output"
# A permission test that skipped, or a filter that matched nothing, proved nothing.
if grep -q "SKIPPED" <<<"$output" || ! grep -q "PASSED" <<<"$output" ||
   grep -q "Running 0 tests" <<<"$output"; then
    echo "permission tests did not run as an ordinary user" >&2
    exit 1
fi
