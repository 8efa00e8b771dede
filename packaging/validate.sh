#!/bin/sh
# Checks a desktop entry or a software-centre (AppStream) entry with the freedesktop validators:
#   validate.sh desktop FILE    desktop-file-validate, which must print nothing
#   validate.sh metainfo FILE   appstreamcli validate --no-net --strict
# Exits 77, which the test marks as skipped, when the validator is not installed (Debian
# packages desktop-file-utils and appstream).
set -u
kind=$1
file=$2

case "$kind" in
desktop) tool=desktop-file-validate package=desktop-file-utils ;;
metainfo) tool=appstreamcli package=appstream ;;
*)
    echo "usage: $0 desktop|metainfo FILE" >&2
    exit 2
    ;;
esac

if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (Debian package $package); $file was not checked"
    exit 77
fi

if [ "$kind" = desktop ]; then
    out=$(desktop-file-validate "$file" 2>&1)
    status=$?
    [ -n "$out" ] && printf '%s\n' "$out"
    if [ $status -ne 0 ] || [ -n "$out" ]; then
        echo "FAILED: desktop-file-validate reported the problems above in $file"
        exit 1
    fi
    echo "desktop-file-validate: $file is valid"
else
    appstreamcli validate --no-net --strict --explain "$file" || exit 1
fi
