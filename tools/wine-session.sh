# Sourced. The Wine session: how Ferrolet's scripts run Windows programs under Wine on Linux. The
# run command (tools/run.sh), the test command (tools/test.sh), the benchmark (bench/run.sh), the
# screenshots (tools/screenshots.sh) and CTest (through tools/wine-run.sh) all go through here.
#
# A session is made of:
#   prefixes  one Wine prefix per build folder and display resolution, inside the build folder:
#             <build>/wineprefix at 96 DPI, <build>/wineprefix-<dpi>dpi at any other;
#             <build>/wineprefix-<kind>-<dpi>dpi for a kind of its own (the screenshots draw their
#             own window frames, which the tests' click offsets must not meet).
#   a server  one wineserver per prefix, kept alive for the whole run: without it every program
#             pays about 2.5 s to start one.
#   services  Wine's background services of the prefix, started by a short program whose output
#             goes nowhere: a service started by a test would inherit CTest's output pipes and
#             hold them open after the test ends.
#   a desktop held open by tests/runner/desktop_holder.cpp: Wine closes an idle desktop a second
#             after its last window goes, and a test opening a window meanwhile would race with it.
#   a display the current one, or a private Xvfb when there is none.
#   a layout  Wine's processes run without address randomization where the system allows it.
#             Debian's Wine loader has no preloader and sits at the fixed address 0x7d000000;
#             since Linux 6.9 the kernel starts its heap anywhere in the 1 GiB above it, and about
#             once in a few thousand starts that heap covers 0x7ffe0000, the page Wine must map
#             as Windows' shared user data. The program then ends with exit status 1 before its
#             first line, saying why only in an err message hidden by WINEDEBUG=-all ("failed to
#             map the shared user data: c0000018"). Without randomization the heap starts right
#             after the loader, far below that page. Where randomization cannot be turned off
#             (a container's seccomp filter may refuse it), wine_session_run starts a program that
#             ended with exactly that signature once more, and notes it.
#
# Typical use (tools/test.sh does this for each of its prefixes):
#   source tools/wine-session.sh
#   trap wine_session_end EXIT
#   wine_session_use BUILD 120    # choose the build's 120-DPI prefix and Wine's environment
#   wine_session_prefix           # create it once, at its resolution
#   wine_session_display          # make sure DISPLAY works
#   wine_session_start            # its server and services, until wine_session_end
#   wine "$BUILD/some.exe"
#
# Functions:
#   wine_session_use BUILD [DPI] [KIND]   choose a prefix; exports WINEPREFIX, Wine's settings, a
#                                         UTF-8 locale and FERROLET_WINE_DPI
#   wine_session_prefix                   create the chosen prefix if missing, at its resolution
#   wine_session_setting KEY NAME VALUE   set a string value in the chosen prefix's registry
#   wine_session_display                  make DISPLAY work; sets FERROLET_XVFB_PID when it starts
#                                         an Xvfb
#   wine_session_start                    start the chosen prefix's server and services; before
#                                         any setting, whose short-lived server would keep the
#                                         lasting one from starting
#   wine_session_hold_desktop HOLDER.exe  keep the chosen prefix's desktop open
#   wine_session_stop                     stop the chosen prefix's server and what runs in it
#   wine_session_end                      stop the server of every prefix chosen here, and the
#                                         Xvfb started here
#   wine_session_fixed_layout COMMAND...  replace this shell with COMMAND (which runs the calling
#                                         script again) without address randomization, unless it
#                                         is off already or the system refuses it
#   wine_session_layout_fixed             succeed when this shell runs without randomization
#   wine_session_run [--dpi N] PROGRAM [ARGUMENTS...]
#                                         run PROGRAM under Wine in its build's prefix
#                                         (tools/wine-run.sh, CTest's emulator): with the layout
#                                         fixed it replaces this shell; otherwise a run that ends
#                                         with exit status 1 and no output at all is started once
#                                         more and noted in the file FERROLET_WINE_RETRY_LOG
#                                         names, or on standard error
#   wine_session_find_window TITLE        print the X window id of the first visible window whose
#                                         title matches the regular expression, waiting up to 60 s;
#                                         fails when none appears
#   wine_session_screenshot WINDOW FILE   save the window as a PNG once it has painted

wine_session_prefixes=()
FERROLET_XVFB_PID=

wine_session_use() { # BUILD [DPI] [KIND]
  local build dpi=${2:-96} kind=${3:-}
  build=$(cd "${1:?build folder}" && pwd) || return 1
  if [ -n "$kind" ]; then
    export WINEPREFIX="$build/wineprefix-$kind-${dpi}dpi"
  elif [ "$dpi" != 96 ]; then
    export WINEPREFIX="$build/wineprefix-${dpi}dpi"
  else
    export WINEPREFIX="$build/wineprefix"
  fi
  export FERROLET_WINE_DPI=$dpi
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko: nothing here needs them, and their installers would ask.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Without a UTF-8 locale (a fresh container sets none) Wine cannot map Linux names outside ASCII.
  # C.UTF-8 is built into Debian's C library; a working UTF-8 locale already chosen is kept.
  if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
  fi
  local known
  for known in "${wine_session_prefixes[@]}"; do
    [ "$known" = "$WINEPREFIX" ] && return 0
  done
  wine_session_prefixes+=("$WINEPREFIX")
}

# Creates the prefix once (about 10 s) and gives its display the chosen resolution; later calls
# return at once. Programs running in parallel may call it for the same prefix.
wine_session_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "Creating Wine prefix $WINEPREFIX"
      wineboot -i >/dev/null 2>&1 </dev/null || true
      wineserver -w
    fi
    local logpixels
    logpixels=$(printf 'dword:%08x' "$FERROLET_WINE_DPI")
    # A fresh prefix has no value, which means 96.
    if [ "$FERROLET_WINE_DPI" != 96 ] && ! grep -qi "^\"LogPixels\"=$logpixels" "$WINEPREFIX/user.reg"; then
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$FERROLET_WINE_DPI" \
        /f >/dev/null 2>&1 </dev/null
      # The display reads its resolution when the server starts: let this one end.
      wineserver -w
    fi
  ) 9>"$WINEPREFIX.lock"
}

wine_session_setting() { # KEY NAME VALUE
  wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1 </dev/null || true
}

wine_session_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  FERROLET_XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "wine-session.sh: the virtual display did not start" >&2
  return 1
}

# The server stays until wine_session_stop or wine_session_end. Programs started later by anyone
# with this environment (CTest's tests among them) find it running; the prefix is listed in
# FERROLET_WINE_SERVED so that tools/wine-run.sh starts nothing more.
wine_session_start() {
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  case ":${FERROLET_WINE_SERVED:-}:" in
    *":$WINEPREFIX:"*) ;;
    *) export FERROLET_WINE_SERVED="${FERROLET_WINE_SERVED:+$FERROLET_WINE_SERVED:}$WINEPREFIX" ;;
  esac
}

# Returns once the holder has opened its window, so no program starts while the desktop is still
# coming up.
wine_session_hold_desktop() { # HOLDER.exe
  local ready="$WINEPREFIX.desktop-ready"
  rm -f "$ready"
  wine "${1:?desktop holder}" >"$ready" 2>/dev/null </dev/null &
  for _ in $(seq 600); do
    grep -q ready "$ready" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "wine-session.sh: the Wine desktop of $WINEPREFIX did not come up" >&2
  return 1
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

wine_session_end() {
  local prefix
  for prefix in "${wine_session_prefixes[@]}"; do
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
  done
  if [ -n "$FERROLET_XVFB_PID" ]; then
    kill "$FERROLET_XVFB_PID" 2>/dev/null || true
    FERROLET_XVFB_PID=
  fi
}

# ADDR_NO_RANDOMIZE of personality(2), inherited by every process started from this one.
wine_session_no_randomize=0x0040000

wine_session_layout_fixed() {
  local personality
  read -r personality </proc/self/personality 2>/dev/null || return 1
  (((0x$personality & wine_session_no_randomize) != 0))
}

wine_session_fixed_layout() { # COMMAND...
  wine_session_layout_fixed && return 0
  setarch "$(uname -m)" --addr-no-randomize true 2>/dev/null || return 0
  exec setarch "$(uname -m)" --addr-no-randomize "$@"
}

# The output goes through tee, so a test that hangs still shows what it printed.
wine_session_run_noted() { # PROGRAM [ARGUMENTS...]
  local output status=0 again=0
  output=$(mktemp)
  wine "$@" 2>&1 | tee "$output" || status=$?
  if [ "$status" -eq 1 ] && [ ! -s "$output" ]; then
    wine "$@" 2>&1 | tee "$output" || again=$?
    echo "$*: exit status 1 without any output, started once more: exit status $again" \
      >>"${FERROLET_WINE_RETRY_LOG:-/dev/stderr}"
    status=$again
  fi
  rm -f "$output"
  return "$status"
}

# The build folder is the nearest folder above the program that holds a CMakeCache.txt. Without a
# session started for its prefix (CTest run by hand), the program gets a server of its own that
# stays a minute after the last program of the prefix ends, and the services are started first.
wine_session_run() { # [--dpi N] PROGRAM [ARGUMENTS...]
  local dpi=96 dir
  if [ "${1:-}" = --dpi ]; then
    dpi=${2:?display resolution}
    shift 2
  fi
  dir=$(dirname "$(readlink -f "${1:?program}")")
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    echo "wine-session.sh: no build folder above $1" >&2
    return 2
  fi
  wine_session_use "$dir" "$dpi"
  case ":${FERROLET_WINE_SERVED:-}:" in
    *":$WINEPREFIX:"*) ;;
    *)
      wine_session_prefix
      (
        flock 9
        wineserver -p60 >/dev/null 2>&1 || true
        wine cmd /c exit >/dev/null 2>&1 </dev/null || true
      ) 9>"$WINEPREFIX.lock"
      ;;
  esac
  if wine_session_layout_fixed; then
    exec wine "$@"
  fi
  wine_session_run_noted "$@"
}

wine_session_find_window() { # TITLE
  local window
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
  [ -n "$window" ] && echo "$window"
}

# A window is mapped before it paints: take pictures until it shows more than a few colours, for
# at most ten seconds, then once more a second later for what paints late (a link, a list's
# header).
wine_session_screenshot() { # WINDOW FILE
  local colours end=$((SECONDS + 10))
  while :; do
    import -window "$1" "$2" 2>/dev/null || true
    colours=$(convert "$2" -format %k info: 2>/dev/null || echo 0)
    ((colours > 8 || SECONDS >= end)) && break
    sleep 0.2
  done
  sleep 1
  import -window "$1" "$2"
}
