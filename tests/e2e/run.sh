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
check() {  # name, then the command that must succeed; a failure leaves a screenshot
  local name=$1; shift
  if "$@"; then
    passed=$((passed + 1)); echo "ok   $name"
  else
    failed=$((failed + 1)); echo "FAIL $name"
    import -window root "$artifacts/failure-$failed.png" 2>/dev/null
  fi
}

trap wine_cleanup EXIT
wine_start_xvfb || exit 1
wine_prefix "$build/e2e-prefix"

wizard_pid=""
start_wizard() {
  "$WINE64" "$exe" >/dev/null 2>&1 &
  wizard_pid=$!
  read -r _ client_x client_y client_w client_h close_x close_y hwnd < <("$WINE64" "$probe" window | tr -d '\r')
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
wizard_running() { sleep 1; kill -0 "$wizard_pid" 2>/dev/null; }
licence_hidden() { sleep 0.5; [ "$("$WINE64" "$probe" licence-shown | tr -d '\r')" = 0 ]; }
close_box() { xdotool mousemove "$close_x" "$close_y" click 1; }
# Saves what the user sees of the wizard as artifacts/NAME.png.
shot() { sleep 0.5; import -window root -crop "${client_w}x${client_h}+${client_x}+${client_y}" +repage "$artifacts/$1.png"; }
reseller_recorded() {
  "$WINE64" reg query 'HKLM\Software\Ostrevane\Referrer' /v ID /reg:32 2>/dev/null | tr -d '\r' | grep -qE 'ID +REG_DWORD +0x1$'
}
question=""
# The colour at a point of the client area in the last screenshot NAME.
pixel() { /usr/bin/convert "$artifacts/$1.png" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null; }
# Waits (up to 15 s) for the installer's last report to fill the bar.
bar_is_full() {
  for _ in $(seq 30); do
    shot install-complete
    [ "$(pixel install-complete 520 165)" = "srgb(177,19,20)" ] && return 0
  done
  return 1
}
page_changed_to_components() { [ "$(pixel optional-installs 520 165)" != "srgb(177,19,20)" ]; }
installer_record() { ls "$WINEPREFIX"/drive_c/users/*/Downloads/installer-run.txt 2>/dev/null | head -n 1; }
installer_started_with_the_window_handle() {
  local record=""
  for _ in $(seq 300); do record=$(installer_record); [ -n "$record" ] && break; sleep 0.1; done
  [ -n "$record" ] || return 1
  local line
  line=$(head -n 1 "$record" | tr -d '\r')
  echo "     $line"
  case "$line" in
    '"C:\users\'*'\Downloads\VestoraEditorInstaller.exe" /VERYSILENT /SUPPRESSMSGBOXES /CALLBACKWND '"$hwnd") return 0 ;;
    *) return 1 ;;
  esac
}
asked_about_the_installed_version() {
  local expected='Vestora Editor v7.7.9.80 is already installed on this PC.\r\rAre you sure you want to replace it?'
  question=$("$WINE64" "$probe" question | tr -d '\r')
  echo "     $(echo "$question" | head -n 1)"
  [ "$(echo "$question" | sed -n 's/^text //p')" = "$expected" ]
}

check "the wizard starts and shows its window" start_wizard
check "the client area is 600 x 338" client_is_600_by_338
check "the licence page shows its picture edge to edge" licence_page_edge_to_edge
check "the wrapped licence rows are no wider than 511 px" licence_rows_fit
click $((452 + 57)) $((287 + 14))
check "Disagree ends the program" wizard_ended

check "the wizard starts again" start_wizard
xdotool mousemove "$close_x" "$close_y" click 1
check "the close box on the licence page ends the program" wizard_ended

# Accepting the licence: the install page, whose close box is refused while the download runs
# (a slow one here, so that it is still running).
link_service_start "$build/tests/win/fixture_installer.exe" 3000000 50000
check "the wizard starts a third time" start_wizard
click $((250 + 94)) $((287 + 14))
check "Agree & Install leaves the licence page" licence_hidden
shot install-page
close_box
check "the close box is refused while the download runs" wizard_running
click $((452 + 57)) $((286 + 14))
close_box
check "after Cancel the close box ends the program" wizard_ended
link_service_stop
check "the reseller number 1 is recorded in the registry" reseller_recorded

# An installed product: the question names its version; No ends the program.
"$WINE64" reg add 'HKLM\Software\Ostrevane\vestora' /v MainExe /d 'C:\Apps\Other.exe' /reg:32 /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/Apps"
cp "$build/tests/win/fixture_7_7_9_80.dll" "$WINEPREFIX/drive_c/Apps/VestoraEditorPremier.exe"
check "the wizard starts with the product installed" start_wizard
click $((250 + 94)) $((287 + 14))
check "Agree & Install asks before replacing v7.7.9.80" asked_about_the_installed_version
import -window root "$artifacts/existing-installation.png"
read -r _ no_x no_y < <(echo "$question" | grep '^no ')
xdotool mousemove "${no_x:-0}" "${no_y:-0}" click 1
check "answering No ends the program" wizard_ended

"$WINE64" reg delete 'HKLM\Software\Ostrevane\vestora' /reg:32 /f >/dev/null 2>&1

# The whole run: download from the local link service, the installer's reports,
# the optional installs, the codec packs and the restart page.
link_service_start "$build/tests/win/fixture_installer.exe" 3000000 2000000 "$artifacts/link-service.log"
check "the wizard starts for a whole run" start_wizard
click $((250 + 94)) $((287 + 14))
sleep 1
shot downloading
check "the downloaded installer runs with the wizard's window handle" installer_started_with_the_window_handle
check "the installer's completion report fills the bar" bar_is_full
click $((452 + 57)) $((286 + 14))
shot optional-installs
check "Continue shows the optional installs" page_changed_to_components
click $((481 + 42)) $((286 + 14))
sleep 1
shot codec-packs
click $((481 + 42)) $((286 + 14))
shot restart-page
close_box
check "the close box on the restart page ends the program without a restart" wizard_ended

rm -f "$artifacts/licence-client.ppm"
echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
