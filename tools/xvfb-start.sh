# Sourced: makes sure DISPLAY names a working X display, starting a private Xvfb if needed.
# Sets FERROLET_XVFB_PID when it started one (stop it with: kill "$FERROLET_XVFB_PID"). Returns
# only once the display answers; non-zero when it never did.
FERROLET_XVFB_PID=
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  ferrolet_display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ferrolet_display_file" 2>/dev/null &
  FERROLET_XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$ferrolet_display_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$ferrolet_display_file")"
  rm -f "$ferrolet_display_file"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "xvfb-start.sh: the virtual display did not start" >&2
    false
  fi
fi
