# Sourced by the scripts: when no X display is set, starts Xvfb on a free display number,
# exports DISPLAY and stops the server when the calling script exits.
if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  xvfb_log=$(mktemp --suffix=.xvfb.log)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$xvfb_log" 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$display_file" ]; then
    echo "virtual-display: Xvfb did not start (its output: $xvfb_log); run tools/install-deps.sh" \
      "as root, or set DISPLAY to an X display of your own" >&2
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$display_file")"
  rm -f "$display_file"
fi
