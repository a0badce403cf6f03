#!/usr/bin/env bash
# The whole program under Wine on a virtual display, driven by real X clicks.
# usage: tests/e2e/run.sh TARGET BUILD_DIR ARTIFACTS_DIR
#   win64  the x86_64 twin under wine64; its link and help hosts are the local link service
#   win32  the shipping i686 file, byte for byte, under 32-bit Wine, asking for the maker's
#          own hosts
# Both reach their hosts through the local link service set as the system's HTTP proxy,
# which answers for those hosts and refuses every other.
# The probe and the stand-in installer come from the same build, so reports
# reach the wizard from a sender of its own bitness, as real installers send them.
# Prints one line per check and ends with "e2e TARGET: N passed, N failed" (", 1 skipped"
# where this machine cannot run the target).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
target=$1
build=$(cd "$2" && pwd)
artifacts="$3/e2e-$target"
mkdir -p "$artifacts"
artifacts=$(cd "$artifacts" && pwd)
source "$here/../../tools/lib/wine.sh"

exe="$build/VestoraWebInstaller.exe"
probe_exe="$build/tests/e2e/e2e_probe.exe"
stand_in="$build/tests/win/fixture_installer.exe"
if [ "$target" = win32 ]; then
  if reason=$(wine32_unsupported); then
    echo "skip the shipping file's end-to-end run: $reason"
    echo "e2e $target: 0 passed, 0 failed, 1 skipped"
    exit 0
  fi
  wine=$WINE32
  link_host=links.vestora.com
  help_host=help.vestora.com
else
  wine=$WINE64
  link_host=127.0.0.1:$LINK_SERVICE_PORT
  help_host=127.0.0.1:$LINK_SERVICE_PORT
fi
# Both builds go through the proxy; the link service answers for the hosts they name.
export LINK_SERVICE_ARGS="--proxy-host $link_host --proxy-host $help_host"

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
wine_use_proxy "127.0.0.1:$LINK_SERVICE_PORT"
opened="$artifacts/opened-pages.txt"
: >"$opened"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$opened" >"$build/e2e-browser.sh"
chmod +x "$build/e2e-browser.sh"
wine_record_browser "$build/e2e-browser.sh"
downloads=$(ls -d "$WINEPREFIX"/drive_c/users/*/Downloads | head -n 1)

# Signed copies of the stand-in installer, padded so that a download takes a moment.
signed="$build/e2e-signed"
"$here/../signing/sign-fixtures.sh" "$stand_in" "$signed" 3000000 || exit 1

probe() { "$wine" "$probe_exe" "$@" | tr -d '\r'; }
wizard_pid=""
start_wizard() {
  "$wine" "$exe" >/dev/null 2>&1 &
  wizard_pid=$!
  read -r _ client_x client_y client_w client_h close_x close_y hwnd < <(probe window)
  [ -n "${client_x:-}" ]
}
# Clicks at a point of the client area, as a user would.
click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; }
agree() { click $((250 + 94)) $((287 + 14)); }
action() { click $((452 + 57)) $((286 + 14)); }
close_box() { xdotool mousemove "$close_x" "$close_y" click 1; }
wizard_ended() {
  for _ in $(seq 100); do kill -0 "$wizard_pid" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
end_wizard() { kill -0 "$wizard_pid" 2>/dev/null && probe close >/dev/null; wizard_ended || kill "$wizard_pid" 2>/dev/null; }
# Input is handled in order: once a Tab's focus ($1) shows, what came before it was handled too.
handled_and_running() { key Tab; accessible_shows "focus $1" && kill -0 "$wizard_pid" 2>/dev/null; }
key() { xdotool key "$@"; }
# Saves what the user sees of the wizard as NAME.png.
shot() { import -window root -crop "${client_w}x${client_h}+${client_x}+${client_y}" +repage "$artifacts/$1.png"; }
# Has the wizard paint its window, then saves it as NAME.png, until CHECK NAME passes (default:
# nothing more), for up to SHOWN_WITHIN seconds (20): a page is judged as painted, never after a pause.
shown() {
  local name=$1 check=${2:-true} out="" deadline=$((SECONDS + ${SHOWN_WITHIN:-20}))
  until probe paint && shot "$name" && out=$("$check" "$name"); do
    if [ "$SECONDS" -ge "$deadline" ]; then [ -z "$out" ] || echo "$out"; return 1; fi
  done
  [ -z "$out" ] || echo "$out"
}
pixel() { /usr/bin/convert "$artifacts/$1.png" -format "%[pixel:p{$2,$3}]" info: 2>/dev/null; }
# Pixel counts of the first status line in the screenshot NAME.
status_line() { python3 "$here/region.py" "$artifacts/$1.png" 171 201 376 23; }
action_face() { /usr/bin/convert "$artifacts/$1.png" -crop 114x29+452+286 +repage -depth 8 rgb:- | md5sum; }
# The install page after a cancel: one status line, no second one ("Please wait"
# while it downloads), and the action no longer reads as it did while downloading.
page_is_reset() {
  local first second
  first=$(status_line "$1")
  second=$(python3 "$here/region.py" "$artifacts/$1.png" 171 219 376 23)
  echo "     first status line: $first; second: $second"
  [ "$(echo "$first" | awk '{print $4}')" -gt 20 ] && [ "$(echo "$second" | awk '{print $2 + $4}')" -eq 0 ] &&
    [ "$(action_face "$1")" != "$(action_face install-page)" ]
}
status_is_red() { [ "$(status_line "$1" | awk '{print $2}')" -gt 20 ]; }
link_requests() { grep -c '"GET ' "$artifacts/link-service.log"; }
# WinInet's own redirect following went on in the background at about 90 requests
# a second after a failure, until the program ended: the count must not move
# between the failure and the end of the program.
requests_stop_at_the_failure() {
  local at_failure at_end
  at_failure=$(link_requests)
  end_wizard
  at_end=$(link_requests)
  echo "     requests at the failure: $at_failure, when the program had ended: $at_end"
  [ "$at_failure" -le 12 ] && [ "$at_failure" = "$at_end" ]
}
nothing_left() {
  local left
  left=$(ls "$downloads")
  [ -z "$left" ] || echo "     left in Downloads: $left"
  [ -z "$left" ]
}
installer_record() { ls "$downloads"/installer-run.txt 2>/dev/null; }
no_installer_ran() { [ -z "$(installer_record)" ]; }
downloaded_as_served() { cmp -s "$downloads/VestoraEditorInstaller.exe" "$signed/installer-maker.exe"; }
serve() {  # file, bytes per second, then link service options
  local file=$1 rate=$2; shift 2
  link_service_stop
  LINK_SERVICE_ARGS="${LINK_SERVICE_ARGS:-} $*" link_service_start "$file" 0 "$rate" "$artifacts/link-service.log"
}
licence_rows_fit() {
  local rows widest
  read -r _ rows _ widest < <(probe licence-widths)
  echo "     licence: $rows rows, widest $widest px"
  [ "${rows:-0}" -gt 110 ] && [ "${widest:-999}" -le 511 ]
}
# The page's white corner shows it painted; no silver may show through at its edges.
painted_edge_to_edge() {
  [ "$(pixel "$1" 2 2)" = "srgb(255,255,255)" ] &&
    /usr/bin/convert "$artifacts/$1.png" -depth 8 "$artifacts/licence-client.ppm" &&
    python3 "$here/page_check.py" "$artifacts/licence-client.ppm" | sed 's/^/     /' && [ "${PIPESTATUS[0]}" -eq 0 ]
}
client_is_600_by_338() { [ "$client_w" = 600 ] && [ "$client_h" = 338 ]; }
licence_hidden() {  # within 20 s; each probe is a process start, which paces the asking
  local deadline=$((SECONDS + 20))
  until [ "$(probe licence-shown)" = 0 ]; do [ "$SECONDS" -lt "$deadline" ] || return 1; done
}
reseller_recorded() {
  "$WINE64" reg query 'HKLM\Software\Ostrevane\Referrer' /v ID /reg:32 2>/dev/null | tr -d '\r' | grep -qE 'ID +REG_DWORD +0x1$'
}
accessible_shows() {  # what must appear within 30 s (a grep pattern of a whole line)
  local deadline=$((SECONDS + 30))
  until probe accessible | grep -qx -- "$1"; do
    if [ "$SECONDS" -ge "$deadline" ]; then echo "     read: $(probe accessible | tr '\n' '|')"; return 1; fi
  done
}
page_opened() {  # the address that must have been opened last
  local i
  for i in $(seq 50); do tail -n 1 "$opened" | grep -qxF "$1" && return 0; sleep 0.1; done
  echo "     opened: $(tail -n 1 "$opened")"
  return 1
}

echo "== e2e $target: $(basename "$exe") ($(stat -c %s "$exe") bytes) under $(basename "$wine")"
check "the wizard starts and shows its window" start_wizard
check "the client area is 600 x 338" client_is_600_by_338
check "the licence page shows its picture edge to edge" shown licence-page painted_edge_to_edge
check "the wrapped licence rows are no wider than 511 px" licence_rows_fit
click $((452 + 57)) $((287 + 14))
check "Disagree ends the program" wizard_ended

check "the wizard starts again" start_wizard
close_box
check "the close box on the licence page ends the program" wizard_ended

# A slow download: the close box is refused while it runs, a report from a
# stranger changes nothing, Help opens the maker's page, and Cancel ends it.
serve "$signed/installer-unsigned.exe" 50000
check "the wizard starts a third time" start_wizard
agree
check "Agree & Install leaves the licence page" licence_hidden
shown install-page
second_start_ends() {
  "$wine" "$exe" >/dev/null 2>&1 &
  local second=$!
  for _ in $(seq 300); do kill -0 "$second" 2>/dev/null || return 0; sleep 0.1; done
  kill "$second"
  return 1
}
check "a second start during the download ends by itself" second_start_ends
check "and leaves one wizard window, the first, still downloading" eval \
  '[ "$(probe count)" = 1 ] && accessible_shows "button Cancel"'
close_box
check "the close box is refused while the download runs" handled_and_running Help
probe report 100 "Done"
close_box
check "a report from another process while downloading changes nothing" handled_and_running Cancel
click $((322 + 57)) $((287 + 14))
check "Help opens the maker's help page" page_opened "http://$help_host/r/?id=1&mode=1"
action
check "Cancel resets the install page" shown cancelled page_is_reset
close_box
check "after Cancel the close box ends the program" wizard_ended
check "a cancelled download leaves nothing in Downloads" nothing_left
check "the reseller number 1 is recorded in the registry" reseller_recorded

# A hostile server holds its connection for ten minutes. Cancel must not wait for it:
# the page resets long before, and the close box works. (The win layer cancels on a
# stalled and a silent server too, and times it.)
: >"$artifacts/link-service.log"
serve "$signed/installer-maker.exe" 0 --mode drip
start_wizard && agree
file_shows "$artifacts/link-service.log" '"GET ' 10
action
check "Cancel on a server that drips resets the page without waiting for it" shown cancelled-drip page_is_reset
close_box
check "and the close box works after it (drip)" wizard_ended
end_wizard
check "and leaves no file and runs nothing (drip)" eval 'nothing_left && no_installer_ran'

# Servers whose answers end by themselves in a failure, and installers that
# fail their signature check: a red status line, no file, nothing runs.
# A server that is always busy is asked again for about a minute before the failure shows.
for case in "redirect:installer-maker" "html:installer-maker" "busy:installer-maker" \
            "file:installer-unsigned" "file:installer-other" "file:installer-altered"; do
  mode=${case%%:*}
  file=${case#*:}
  : >"$artifacts/link-service.log"
  serve "$signed/$file.exe" 0 --mode "$mode"
  start_wizard && agree
  SHOWN_WITHIN=120 check "$mode $file: the failure shows in red" shown "failed-$mode-$file" status_is_red
  [ "$mode" = redirect ] && check "redirect: no request after the failure" requests_stop_at_the_failure
  end_wizard
  check "$mode $file: no file is left and nothing runs" eval 'nothing_left && no_installer_ran'
done

# An office proxy that asks who the user is (tinyproxy with Basic authentication as the
# system's proxy, in front of the link service): the system's prompt, owned by the wizard
# and filled in with real keys, lets the installer through; its Cancel ends in the refusal.
proxy_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
printf '%s\n' "Port $proxy_port" "Listen 127.0.0.1" "Allow 127.0.0.1" "MaxClients 20" "Timeout 600" \
  "BasicAuth vestora s3cret" "Upstream http 127.0.0.1:$LINK_SERVICE_PORT" >"$build/tinyproxy.conf"
tinyproxy -d -c "$build/tinyproxy.conf" >"$artifacts/tinyproxy.log" 2>&1 &
proxy_pid=$!
file_shows "$artifacts/tinyproxy.log" "Accepting connections" 10
wine_use_proxy "127.0.0.1:$proxy_port"
serve "$signed/installer-maker.exe" 0
prompt=""
# Open once the wizard takes no input: its edit fields, OK and Cancel.
prompt_opens() {
  accessible_shows "button Help (grey)" && prompt=$(probe prompt) && echo "$prompt" | sed 's/^/     /' &&
    [ "$(echo "$prompt" | grep -c '^edit ')" -ge 2 ] && [ "$(probe questions)" = 1 ]
}
on_prompt() {  # NAME N, then what xdotool does there after a click
  local name=$1 n=$2; shift 2
  xdotool mousemove $(echo "$prompt" | grep "^$name " | sed -n "${n}p" | cut -d' ' -f2-) click 1 "$@"
}
start_wizard && agree
check "a proxy that asks for a password: the system's prompt opens, owned by the wizard" prompt_opens
on_prompt edit 1 type vestora
on_prompt edit 2 type s3cret
import -window root "$artifacts/proxy-prompt.png"
on_prompt ok 1
check "filled in and confirmed, it lets the installer through, byte for byte" \
  eval 'accessible_shows "button Continue" && [ -n "$(installer_record)" ] && downloaded_as_served'
end_wizard
rm -f "$downloads"/*
start_wizard && agree
check "the prompt opens again in a new run" prompt_opens
on_prompt cancel 1
check "its Cancel ends in the proxy's refusal" accessible_shows "text Download Error + \[2:407\]"
end_wizard
check "and leaves no file and runs nothing (proxy)" eval 'nothing_left && no_installer_ran'
kill "$proxy_pid" 2>/dev/null
wine_use_proxy "127.0.0.1:$LINK_SERVICE_PORT"

# An installed product: the question names its version; No ends the program.
"$WINE64" reg add 'HKLM\Software\Ostrevane\vestora' /v MainExe /d 'C:\Apps\Other.exe' /reg:32 /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/Apps"
cp "$build/tests/win/fixture_installer.exe" "$WINEPREFIX/drive_c/Apps/VestoraEditorPremier.exe"
question=""
asked_about_the_installed_version() {
  accessible_shows "button Agree & Install (grey)" && question=$(probe question)
  echo "     $(echo "$question" | head -n 1)"
  [ "$(echo "$question" | sed -n 's/^text //p')" = 'Vestora Editor v is already installed on this PC.\r\rAre you sure you want to replace it?' ]
}
check "the wizard starts with the product installed" start_wizard
agree
check "Agree & Install asks before replacing it" asked_about_the_installed_version
check "while it asks, a screen reader's press on either button is refused" \
  eval '[ "$(probe press "Agree & Install")" = refused ] && [ "$(probe press Disagree)" = refused ] &&
        [ "$(probe questions)" = 1 ]'
import -window root "$artifacts/existing-installation.png"
read -r _ no_x no_y < <(echo "$question" | grep '^no ')
xdotool mousemove "${no_x:-0}" "${no_y:-0}" click 1
check "answering No ends the program" wizard_ended
product_forgotten() {  # a record left behind would ask its question in every later run
  "$WINE64" reg delete 'HKLM\Software\Ostrevane\vestora' /reg:32 /f 2>&1 | sed 's/^/     /'
  ! "$WINE64" reg query 'HKLM\Software\Ostrevane\vestora' /reg:32 >/dev/null 2>&1
}
check "the installed product's record is taken away again" product_forgotten

# The whole run: the maker's signed installer from the link service, cut once
# at two thirds and continued, its reports, the optional installs, the codec
# packs and the restart page.
serve "$signed/installer-maker.exe" 1000000 --cut 2000000 --cuts 1
: >"$artifacts/link-service.log"
bar_is_full() { [ "$(pixel "$1" 520 165)" = "srgb(177,19,20)" ]; }
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
asked_the_link_service() {
  local request="GET http://$link_host/vestoralinks/index.php?linkname=VestoraEditorInstaller.exe&linktype=file"
  [ "$target" = win32 ] && request="GET http://$link_host:80/vestoralinks/index.php?linkname=VestoraEditorInstaller.exe&linktype=file"
  grep -F "\"$request HTTP/1.1\" 200" "$artifacts/link-service.log" | head -n 1 | sed 's/^/     /'
  grep -qF "\"$request HTTP/1.1\" 200" "$artifacts/link-service.log"
}
page_changed_to_components() { ! bar_is_full "$1"; }
# The stand-in installer reports slowly here, so that the page can be seen while it runs.
printf '%s\n' "200 0 Installing Vestora Editor|Copying files" \
  "2500 50 Installing Vestora Editor|Registering components" "2500 100 Done" >"$downloads/installer-script.txt"
check "the wizard starts for a whole run" start_wizard
agree
accessible_shows "progress Overall progress:=\([1-9]\|[1-4][0-9]\)%" && shown downloading
check "the downloaded installer runs with the wizard's window handle" installer_started_with_the_window_handle
accessible_shows "text Registering components" && shown installing
check "the link service was asked for the installer" asked_the_link_service
check "the file in Downloads is the served one, byte for byte" downloaded_as_served
check "the cut download was continued where it broke off" \
  grep -q "^installer: 206 bytes=2000000-, sent " "$artifacts/link-service.log"
check "the installer's completion report fills the bar" shown install-complete bar_is_full
action
check "Continue shows the optional installs" shown optional-installs page_changed_to_components
click $((145 + 70)) $((87 + 20))
check "a component opens its vendor's page" page_opened "http://www.microsoft.com/en-us/download/details.aspx?id=35"
click $((481 + 42)) $((286 + 14))
accessible_shows "button Done" && shown codec-packs
click $((145 + 70)) $((87 + 20))
check "a codec pack opens its vendor's page" page_opened "http://www.divx.com/"
click $((481 + 42)) $((286 + 14))
accessible_shows "button Restart" && shown restart-page
close_box
check "the close box on the restart page ends the program without a restart" wizard_ended

# People, not just a mouse. Keys go to the wizard, which has the keyboard focus
# from its start; a screen reader's view is read by the probe.
check "the wizard starts for a run by keyboard" start_wizard
key Escape
check "Escape on the licence page leaves the wizard" wizard_ended
start_wizard
# Downloads removed after the start (the stand-in installer then reports as it does without a script).
rm -rf "$downloads"
check "a screen reader reads the licence page's buttons, focus on Agree & Install" eval \
  'accessible_shows "focus Agree & Install" && accessible_shows "button Disagree"'
key Tab
check "Tab moves the focus to Disagree" accessible_shows "focus Disagree"
key shift+Tab
check "Shift+Tab moves it back" accessible_shows "focus Agree & Install"
key Return
check "Enter on Agree & Install starts the download; the screen reader hears its progress" \
  accessible_shows "progress Overall progress:=[1-9][0-9]*%"
check "and the status line's text" accessible_shows "text Downloading.*"
check "the installer's completion offers Continue, focused" accessible_shows "focus Continue"
check "with Downloads removed after the start, the installer was downloaded there" test -f "$downloads/VestoraEditorInstaller.exe"
key Return
check "Enter on Continue shows the optional installs, focus on More..." accessible_shows "focus More..."
key Return
check "Enter on More... shows the codec packs, focus on Done" accessible_shows "focus Done"
key Return
check "Enter on Done shows the restart page with nothing focused" accessible_shows "focus none"
shown restart-page-by-keyboard
# Keys are handled in order: once Tab's focus shows, the Enter before it has been handled.
key Return Tab
check "a further Enter does not restart" accessible_shows "focus Restart"
end_wizard

# A double-click acts once, wherever the next page has an action in the same place.
double_click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click --repeat 2 --delay 80 1; }
: >"$opened"
check "the wizard starts for a run by double-clicks" start_wizard
double_click $((250 + 94)) $((287 + 14))
check "a double-click on Agree & Install downloads" accessible_shows "button Cancel"
check "the installer completes, and Help was not opened" eval 'accessible_shows "button Continue" && [ ! -s "$opened" ]'
# After each double-click a Tab: once its focus shows, both presses have been handled.
double_click $((452 + 57)) $((286 + 14))
key Tab
check "a double-click on Continue shows the optional installs, not the codec packs" accessible_shows "focus DirectX, .*"
double_click $((481 + 42)) $((286 + 14))
key Tab
check "a double-click on More... shows the codec packs, not the restart page" accessible_shows "focus DivX, .*"
double_click $((481 + 42)) $((286 + 14))
key Tab
check "a double-click on Done shows the restart page and does not restart" accessible_shows "focus Restart"
end_wizard

# Every display scale: Wine gives each program the prefix's LogPixels. The form is the
# design times DPI / 96: its client area, where a screen reader finds its actions, and the
# places a mouse clicks; the keyboard works as at 96 DPI (the runs above).
scaled() { echo $((($1 * dpi + 48) / 96)); }
sclick() { click "$(scaled "$1")" "$(scaled "$2")"; }
near() { [ $(($1 - $2)) -ge -1 ] && [ $(($1 - $2)) -le 1 ]; }
client_is_scaled() { near "$client_w" "$(scaled 600)" && near "$client_h" "$(scaled 338)"; }
located_at() {  # name, then the design's left, top, width, height
  local name=$1 left top width height
  read -r left top width height < <(probe locate "$name")
  echo "     $name: ${left:-?} ${top:-?} ${width:-?} ${height:-?}"
  [ "$left" = "$(scaled "$2")" ] && [ "$top" = "$(scaled "$3")" ] &&
    [ "$((left + width))" = "$(scaled $(($2 + $4)))" ] && [ "$((top + height))" = "$(scaled $(($3 + $5)))" ]
}
corner_is_white() { [ "$(pixel "$1" 2 2)" = "srgb(255,255,255)" ]; }
serve "$signed/installer-maker.exe" 0
for dpi in 120 144 240; do
  "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  rm -rf "${downloads:?}"/*
  check "at $dpi DPI the wizard starts" start_wizard
  check "at $dpi DPI the client area is 600 x 338 times the scale, $client_w x $client_h" client_is_scaled
  check "at $dpi DPI a screen reader finds the licence page's title and Agree & Install at their scaled places" \
    eval 'located_at "Thank you for choosing Vestora" 32 17 545 30 && located_at "Agree & Install" 250 287 188 28'
  check "at $dpi DPI the licence page shows painted" shown "licence-page-$dpi" corner_is_white
  sclick $((250 + 94)) $((287 + 14))
  check "at $dpi DPI a click on Agree & Install at its scaled place installs" accessible_shows "button Continue"
  check "at $dpi DPI Continue is at its scaled place" located_at Continue 452 286 114 29
  sclick $((452 + 57)) $((286 + 14))
  accessible_shows "button More..." && sclick $((481 + 42)) $((286 + 14))
  # A click elsewhere first: a second click at the same place so soon would be a double-click.
  accessible_shows "button Done" && sclick 10 10 && sclick $((481 + 42)) $((286 + 14))
  check "at $dpi DPI Continue, More... and Done at their scaled places reach the restart page" \
    eval 'accessible_shows "button Restart" && located_at Restart 481 286 85 28'
  end_wizard
  rm -rf "${downloads:?}"/*
  start_wizard && key Return
  accessible_shows "focus Continue" && key Return
  accessible_shows "focus More..." && key Return
  accessible_shows "focus Done" && key Return
  check "at $dpi DPI the keyboard alone installs" accessible_shows "focus none"
  end_wizard
done
"$WINE64" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1

rm -f "$artifacts/licence-client.ppm"
echo "e2e $target: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
