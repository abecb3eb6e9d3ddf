#!/usr/bin/env bash
# Stops the scheduler that cups-start.sh started (none other). Idempotent.
set -euo pipefail
pidfile=${ZVP_CUPSD_PIDFILE:-/tmp/zvp-cupsd.pid}
[ -f "$pidfile" ] || exit 0
pid=$(cat "$pidfile")
if [ -n "$pid" ] && [ "$(cat /proc/"$pid"/comm 2>/dev/null)" = cupsd ]; then
  kill "$pid"
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
fi
rm -f "$pidfile"
