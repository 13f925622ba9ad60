#!/usr/bin/env bash
# The local web server that the Internet tests open in place of the
# Internet: Python's http.server on 127.0.0.1, on a port it picks itself,
# which goes to FOLDER/port. Usage: local_http.sh start|stop FOLDER
set -euo pipefail
folder=$2
case $1 in
start)
  mkdir -p "$folder/www"
  rm -f "$folder/port"
  # Detached from the test's output, or ctest would wait for it; should
  # nothing stop it, it ends by itself after an hour.
  setsid timeout 3600 python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$folder/www" \
    >"$folder/server.log" 2>&1 </dev/null &
  echo $! >"$folder/pid"
  for _ in $(seq 200); do
    port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$folder/server.log")
    if [ -n "$port" ]; then
      echo "$port" >"$folder/port"
      exit 0
    fi
    kill -0 "$(cat "$folder/pid")" 2>/dev/null || break
    sleep 0.05
  done
  echo "the local web server did not start:" >&2
  cat "$folder/server.log" >&2
  exit 1
  ;;
stop)
  if [ -f "$folder/pid" ]; then kill "$(cat "$folder/pid")" 2>/dev/null || true; fi
  rm -f "$folder/pid" "$folder/port"
  ;;
esac
