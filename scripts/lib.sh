# Shared by the scripts: building, a virtual display, and a Wine prefix of the run's own.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${CORVANE_BUILD:-$ROOT/build}
# The scripts and their tests run in a UTF-8 locale that Debian always has, whatever the caller's
# (a minimal system's root shell has none): Wine maps names outside ASCII to Unix file names
# through it. A test that needs another, as the code page 932 shard does, sets its own.
export LC_ALL=C.UTF-8
unset LANGUAGE
export WINEDEBUG=-all
export WINEARCH=win32
# No Mono or Gecko installer prompts while a prefix is made. No menu builder: it makes Unix menu
# entries and icons for every shortcut and association a Windows program makes, and reads the
# programs for their icons while a test goes on with them.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Runs scripts/setup with its messages shown as they come. When it fails, says so after the
# caller's name with setup's own reason (the step that failed and its exit status).
run_setup() {  # caller's name
  local log status reason
  log=$(mktemp)
  "$ROOT/scripts/setup" 2>&1 | tee "$log" >&2
  status=${PIPESTATUS[0]}
  reason=$(sed -n 's/^setup: FAILED: //p' "$log" | tail -1)
  rm -f "$log"
  [ "$status" -eq 0 ] && return 0
  echo "$1: FAILED: installing what the build needs (scripts/setup): ${reason:-it ended with exit status $status}" >&2
  return "$status"
}

build_windows() {
  cmake -S "$ROOT" -B "$BUILD/win32" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD/win32" -j"$(nproc)" "$@"
}

# Starts Xvfb on a free display unless one is usable; sets DISPLAY and XVFB_PID.
XVFB_PID=""
start_display() {
  if [ "${1:-}" != "always" ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r -t 30 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# Without a window manager, Wine waits 2 s for every managed top-level window to be withdrawn
# when it is hidden or destroyed. Prefixes on a virtual display therefore get unmanaged windows;
# on a user's own display (with a window manager) windows stay managed and keep their title bars.
set_managed_windows() {  # Y or N, for the current WINEPREFIX
  local key='HKCU\Software\Wine\X11 Driver'
  if [ "$1" = N ]; then
    wine reg add "$key" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  else
    wine reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
  fi
}

# A fresh prefix under a temporary folder, for a virtual display; sets WINEPREFIX and RUN_DIR.
# RUN_DIR may be given (an empty folder) when several prefixes are made side by side.
RUN_DIR=""
make_prefix() {
  RUN_DIR=${1:-$(mktemp -d "${TMPDIR:-/tmp}/corvane-run.XXXXXX")}
  export WINEPREFIX="$RUN_DIR/prefix"
  wineboot -i >/dev/null 2>&1
  set_managed_windows N
  wineserver -w
}

cleanup_run() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
  if [ -n "$RUN_DIR" ] && [ -z "${CORVANE_KEEP_RUN:-}" ]; then rm -rf "$RUN_DIR"; fi
}
