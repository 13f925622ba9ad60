#!/usr/bin/env bash
# scripts/run as a user meets it: Ctrl-C, a SIGINT to the script's process
# group, ends the utility through its ordered exit and then the script, whose
# exit code is the utility's: 0.
#   run_interrupt_test.sh BUILD_FOLDER ARCH    (the trees are built)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export VANTRA_BUILD=$1 WINE_ARCH=$2 VANTRA_RUN_BUILT=1
folder=$(mktemp -d)
script=

finish() {
  if [ -n "$script" ] && kill -0 "$script" 2>/dev/null; then
    kill -TERM "$script"
    for _ in $(seq 100); do kill -0 "$script" 2>/dev/null || break; sleep 0.1; done
    kill -KILL -- "-$script" 2>/dev/null || true
  fi
  rm -rf "$folder"
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- scripts/run said:" >&2
  grep -v '^ALSA lib' "$folder/out" >&2 || true
  exit 1
}

# Polls a condition every tenth of a second for up to $1 seconds.
within() {
  local tenths=$(($1 * 10))
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  return 1
}
polled() { grep -q '^WLAN_Get_Info ' "$folder/calls.log" 2>/dev/null; }
ended() { ! kill -0 "$script" 2>/dev/null; }

# A world of the test's own, with a call log; the simulated adapter keeps its
# state beside it.
sed 's/^Log=.*/Log=calls.log/' "$VANTRA_BUILD/$WINE_ARCH/bin/standins.ini" >"$folder/world.ini"
export VANTRA_WORLD="Z:${folder//\//\\}\\world.ini"

# As a terminal runs it: a process group of its own that Ctrl-C reaches, even
# where this test was started with interrupts ignored.
setsid env --default-signal=INT "$root/scripts/run" >"$folder/out" 2>&1 &
script=$!
within 60 polled || fail "the utility did not poll the link within 60 s"

kill -INT -- "-$script"
within 60 ended || fail "scripts/run still runs 60 s after Ctrl-C"
status=0
wait "$script" || status=$?
[ "$status" = 0 ] || fail "scripts/run ended with exit code $status"
grep -q '^WLAN_Close_Adapter ' "$folder/calls.log" || fail "the utility ended without its ordered exit"
# Wine's desktop process may have started in the group; it stays for others.
if pgrep -a -g "$script" | grep -i 'vantra\.exe'; then fail "the utility outlived the script"; fi
script=
echo "Ctrl-C ended the utility in order and scripts/run with exit code 0"
