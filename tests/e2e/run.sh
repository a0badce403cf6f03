#!/usr/bin/env bash
# The whole program under Wine on a virtual display, driven by real X clicks.
# usage: tests/e2e/run.sh WIN64_BUILD_DIR ARTIFACTS_DIR
# Prints one line per check and ends with "e2e: N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
artifacts=$2
mkdir -p "$artifacts"
artifacts=$(cd "$artifacts" && pwd)
source "$here/../../tools/lib/wine.sh"

exe=$(ls "$build"/*.exe | head -n 1)
probe="$build/tests/e2e/e2e_probe.exe"
passed=0
failed=0
check() {  # name, then the command that must succeed
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}

trap wine_cleanup EXIT
wine_start_xvfb || exit 1
wine_prefix "$build/e2e-prefix"

wizard_pid=""
start_wizard() {
  "$WINE64" "$exe" >/dev/null 2>&1 &
  wizard_pid=$!
  read -r _ client_x client_y client_w client_h close_x close_y < <("$WINE64" "$probe" window | tr -d '\r')
  [ -n "${client_x:-}" ]
}
# Clicks at a point of the client area, as a user would.
click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; }
wizard_ended() {
  for _ in $(seq 100); do kill -0 "$wizard_pid" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
licence_rows_fit() {
  local rows widest
  read -r _ rows _ widest < <("$WINE64" "$probe" licence-widths | tr -d '\r')
  echo "     licence: $rows rows, widest $widest px"
  [ "${rows:-0}" -gt 110 ] && [ "${widest:-999}" -le 511 ]
}
licence_page_edge_to_edge() {
  sleep 1
  import -window root "$artifacts/licence-page.png" &&
    /usr/bin/convert "$artifacts/licence-page.png" -crop "${client_w}x${client_h}+${client_x}+${client_y}" +repage -depth 8 \
      "$artifacts/licence-client.ppm" &&
    python3 "$here/page_check.py" "$artifacts/licence-client.ppm" | sed 's/^/     /' && [ "${PIPESTATUS[0]}" -eq 0 ]
}
client_is_600_by_338() { [ "$client_w" = 600 ] && [ "$client_h" = 338 ]; }

check "the wizard starts and shows its window" start_wizard
check "the client area is 600 x 338" client_is_600_by_338
check "the licence page shows its picture edge to edge" licence_page_edge_to_edge
check "the wrapped licence rows are no wider than 511 px" licence_rows_fit
click $((452 + 57)) $((287 + 14))
check "Disagree ends the program" wizard_ended

check "the wizard starts again" start_wizard
xdotool mousemove "$close_x" "$close_y" click 1
check "the close box on the licence page ends the program" wizard_ended

rm -f "$artifacts/licence-client.ppm"
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
