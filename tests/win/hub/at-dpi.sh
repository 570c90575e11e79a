#!/usr/bin/env bash
# Runs a Windows program under Wine at another DPI: sets the user's LogPixels
# (each program reads it as it starts) to $1, runs the rest of the arguments
# with RAVELIND_TEST_DPI=$1 in the environment, and puts the setting back.
set -uo pipefail
dpi=$1; shift
key='HKCU\Control Panel\Desktop'
before=$(wine reg query "$key" /v LogPixels </dev/null 2>/dev/null | tr -d '\r' |
         awk '$1 == "LogPixels" { print $3 }')
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
RAVELIND_TEST_DPI=$dpi wine "$@"
status=$?
if [ -n "$before" ]; then
  wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((before))" /f </dev/null >/dev/null 2>&1
else
  wine reg delete "$key" /v LogPixels /f </dev/null >/dev/null 2>&1
fi
exit $status
