# Sourced: deadline-bound waits for top-level windows on the display, by title, through xdotool.

# wait_for SECONDS COMMAND...: polls until COMMAND succeeds; fails after SECONDS.
wait_for() {
  local end=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}
window_gone() { ! xdotool search --onlyvisible --name "$1"; }
find_window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n1; }
