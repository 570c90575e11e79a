#!/usr/bin/env bash
# Runs `wine "${@:2}"` at $1 DPI (the user's LogPixels, read as a program starts) with
# RAVELIND_TEST_DPI=$1, then takes the setting away: the test run's prefix has none (96).
set -uo pipefail
dpi=$1; shift
key='HKCU\Control Panel\Desktop'
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
RAVELIND_TEST_DPI=$dpi wine "$@"
status=$?
wine reg delete "$key" /v LogPixels /f </dev/null >/dev/null 2>&1
exit $status
