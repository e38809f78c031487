#!/bin/sh
# A virtual display of two monitors side by side, for the tests of the Display page's monitor
# choice; the other tests keep their own display.
#
#   two-monitor-display.sh start STATE        starts Xvfb and makes the two monitors
#   two-monitor-display.sh run STATE CMD...   runs CMD on that display
#   two-monitor-display.sh stop STATE PREFIX  ends the Wine programs of PREFIX, then Xvfb
#
# One wide screen (3200 x 1080) is split into two RandR monitors: a 1280 x 1024 one on the left,
# which takes the screen's one output and so is the primary, and a 1920 x 1080 one on the right.
# Xvfb runs with -noreset: without it the monitors vanish when the last client leaves. Wine sees
# them only in a prefix that does not ask XRandR for outputs (wine-run.sh, WINE_RUN_MONITORS=2).
# STATE is a folder that holds the display's number and the server's process id.
set -eu
command=$1
state=$2
shift 2

# Asks `$@` again every tenth of a second until it succeeds; fails after 30 seconds.
wait_for() {
  tries=300
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

server_gone() { ! kill -0 "$(cat "$state/pid")" 2>/dev/null; }
two_monitors() { xrandr --listmonitors 2>/dev/null | grep -q '^Monitors: 2$'; }

case "$command" in
  start)
    # A server left by a run that was cut short goes first.
    [ ! -s "$state/pid" ] || kill "$(cat "$state/pid")" 2>/dev/null || true
    rm -rf "$state"
    mkdir -p "$state"
    # A session of its own and no pipe of CTest's: the server outlives this step.
    setsid Xvfb -displayfd 3 -screen 0 3200x1080x24 -noreset -nolisten tcp \
      3>"$state/number" </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/pid"
    if ! wait_for test -s "$state/number"; then
      echo "two-monitor-display: Xvfb did not start (its output: $state/xvfb.log)" >&2
      exit 1
    fi
    DISPLAY=":$(head -n 1 "$state/number")"
    export DISPLAY
    if ! command -v xrandr >/dev/null; then
      echo "two-monitor-display: xrandr is missing; run tools/install-deps.sh as root" >&2
      exit 1
    fi
    xrandr --setmonitor LEFT 1280/339x1024/271+0+0 screen
    xrandr --setmonitor RIGHT 1920/508x1080/286+1280+0 none
    wait_for two_monitors
    echo "two-monitor-display: $DISPLAY"
    xrandr --listmonitors
    ;;
  run)
    if [ ! -s "$state/number" ] || server_gone; then
      echo "two-monitor-display: no display; CTest starts it (two_monitor_display)" >&2
      exit 1
    fi
    DISPLAY=":$(head -n 1 "$state/number")"
    export DISPLAY
    exec "$@"
    ;;
  stop)
    prefix=$1
    [ -s "$state/pid" ] || exit 0
    # The prefix's programs draw on this display: they end first.
    [ ! -d "$prefix" ] || WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    kill "$(cat "$state/pid")" 2>/dev/null || true
    wait_for server_gone
    rm -rf "$state"
    ;;
  *)
    echo "usage: two-monitor-display.sh start|run|stop STATE ..." >&2
    exit 2
    ;;
esac
