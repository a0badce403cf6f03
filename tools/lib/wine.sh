# Shell helpers for running the Windows builds under Wine on an X display.
# Source it; call wine_cleanup on exit (wine_start_display and wine_prefix arrange the trap).

WINE64=/usr/lib/wine/wine64
# Old-style WoW64: runs the 32-bit program in the same prefix.
WINE32=/usr/lib/wine/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

_wine_xvfb_pid=""

# Starts a private Xvfb and points DISPLAY at it.
wine_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    _wine_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      sleep 0.1
    done
    kill "$_wine_xvfb_pid" 2>/dev/null
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# True when DISPLAY names a display that answers.
wine_display_usable() {
  [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1
}

# Why this machine cannot run 32-bit Windows programs; nothing when it can.
# Running Wine's 32-bit loader at all needs a kernel with 32-bit support.
wine32_unsupported() {
  [ -x "$WINE32" ] || { echo "wine32 is not installed"; return 0; }
  "$WINE32" --version >/dev/null 2>&1 || { echo "this kernel does not run 32-bit programs (IA32 emulation is off)"; return 0; }
  return 1
}

# A fresh Wine prefix in $1. Wine draws the window frames itself (no window
# manager needed), so windows close at once and the close box is clickable.
# The user's folders are real folders inside the prefix, not links to $HOME,
# so that a run writes nothing outside it and two runs never meet.
wine_prefix() {
  export WINEPREFIX=$1
  # A server left from an earlier run of this prefix must be gone before the prefix is.
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # No debugger on a crash: it names one that is not there, so a crashing program
  # ends at once (a missing value would start winedbg) and its test fails in seconds.
  local view
  for view in 32 64; do
    "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
      /d 'C:\windows\no-debugger.exe' /f /reg:$view >/dev/null 2>&1
  done
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f "$link"
    mkdir -p "$link"
  done
}

# WinInet in the prefix goes through the HTTP proxy at $1 (host:port), as a
# user behind a corporate proxy has it set.
wine_use_proxy() {
  local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
  "$WINE64" reg add "$key" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1 &&
    "$WINE64" reg add "$key" /v ProxyServer /d "$1" /f >/dev/null 2>&1
}

# Web pages the programs open go to $1, a program that records its argument,
# instead of a browser.
wine_record_browser() {
  "$WINE64" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$1" /f >/dev/null 2>&1
}

wine_cleanup() {
  link_service_stop
  if [ -n "${WINEPREFIX:-}" ]; then
    /usr/lib/wine/wineserver -k >/dev/null 2>&1
    /usr/lib/wine/wineserver -w >/dev/null 2>&1
  fi
  [ -n "$_wine_xvfb_pid" ] && kill "$_wine_xvfb_pid" 2>/dev/null
  _wine_xvfb_pid=""
}

# The local link service that the win64 build fetches from (its VESTORA_LINK_HOST).
LINK_SERVICE_PORT=47911
_link_service_pid=""

# Starts the link service, serving the file $1 as the full installer, padded
# to $2 bytes and sent at $3 bytes per second, and logging requests to $4.
# LINK_SERVICE_ARGS adds options (a hostile --mode, --proxy-host).
link_service_start() {
  if python3 -c "import socket; socket.create_connection(('127.0.0.1', $LINK_SERVICE_PORT), 0.2)" 2>/dev/null; then
    echo "port $LINK_SERVICE_PORT is taken by another program; the link service cannot start" >&2
    return 1
  fi
  python3 "$(dirname "${BASH_SOURCE[0]}")/../../tests/e2e/link_service.py" --port "$LINK_SERVICE_PORT" \
    --installer "$1" --size "$2" --rate "$3" --lifetime 900 --log "${4:-/dev/null}" ${LINK_SERVICE_ARGS:-} \
    >/dev/null 2>&1 &
  _link_service_pid=$!
  for _ in $(seq 50); do
    kill -0 "$_link_service_pid" 2>/dev/null || break
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $LINK_SERVICE_PORT), 0.2)" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "the link service did not start on port $LINK_SERVICE_PORT" >&2
  return 1
}

# Waits until FILE holds a line matching PATTERN (grep), for up to SECONDS: tail follows
# the file as it grows, so the line is seen as soon as it is written.
file_shows() { grep -q -m 1 -- "$2" < <(timeout "$3" tail -n +1 -f "$1"); }

link_service_stop() {
  if [ -n "$_link_service_pid" ]; then
    kill "$_link_service_pid" 2>/dev/null
    wait "$_link_service_pid" 2>/dev/null || true
  fi
  _link_service_pid=""
}
