# Starts a virtual X display (Xvfb) that is this script's own, and points
# DISPLAY at it; sets xvfb_pid. Sourced, not run: start_own_display LOG_FILE,
# which returns non-zero when no display could be had.
#
# A display is taken only when nothing answers on it: a lock file is not
# enough, since a server started in another /tmp holds the display's abstract
# socket, which clients try first. The server does not reset when its last
# client leaves, so that a keyboard layout set before any lasting client
# stays.

start_xvfb_on() {
  local n=$1 log=$2 i
  [[ ! -e /tmp/.X$n-lock ]] || return 1
  ! timeout 5 xdpyinfo -display ":$n" >/dev/null 2>&1 || return 1
  Xvfb ":$n" -noreset -screen 0 1024x768x24 -nolisten tcp >"$log" 2>&1 &
  xvfb_pid=$!
  for ((i = 0; i < 100; i++)); do
    kill -0 "$xvfb_pid" 2>/dev/null || return 1
    if grep -qs 'already running' "$log"; then
      kill "$xvfb_pid"
      return 1
    fi
    timeout 5 xdpyinfo -display ":$n" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  kill "$xvfb_pid"
  return 1
}

start_own_display() {
  local first=$((100 + RANDOM % 800)) n
  for ((n = first; n < first + 50; n++)); do
    if start_xvfb_on "$n" "$1"; then
      export DISPLAY=:$n
      return 0
    fi
  done
  return 1
}
