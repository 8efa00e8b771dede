#!/usr/bin/env bash
# Runs the permission tests of a test program as an ordinary user: root ignores file
# permissions, so as root those tests could prove nothing. The program is copied to a place
# that user can reach, since the build folder may lie in root's home.
set -euo pipefail
program="$1"
filter="$2"
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
