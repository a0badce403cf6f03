#!/usr/bin/env bash
# Checks the shipping program as a file: a 32-bit GUI executable that needs
# no DLL beyond those Windows loads from its known-DLL list.
# usage: tests/package/check.sh WIN32_BUILD_DIR
set -uo pipefail
exe=$(ls "$1"/*.exe | head -n 1)
dump=$(i686-w64-mingw32-objdump -p "$exe")
source "$(dirname "$0")/checks.sh"

# Known DLLs of Windows 7 and later (msvcrt is one of them).
known="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll"
imports_known() {
  local dll ok=0
  for dll in $(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
    case " $known " in *" $dll "*) ;; *) echo "     not a known DLL: $dll"; ok=1 ;; esac
  done
  return $ok
}
name_is_not_setup() { case "$(basename "$exe" | tr 'A-Z' 'a-z')" in setup.exe) return 1 ;; *) return 0 ;; esac; }

check "the program is a PE file for i386" grep -q 'file format pei-i386' <<<"$dump"
check "the program runs in the GUI subsystem" grep -qE 'Subsystem[[:space:]]+00000002' <<<"$dump"
check "the program imports only known DLLs" imports_known
check "the program is not named setup.exe" name_is_not_setup
check "the manifest names the X86 architecture" grep -qa 'processorArchitecture="X86"' "$exe"
per_monitor() { grep -qa '>true/pm</dpiAware>' "$exe" && grep -qa '>PerMonitorV2, PerMonitor</dpiAwareness>' "$exe"; }
check "the manifest declares per-monitor scaling, v2 first, and system scaling for older systems" per_monitor
default_reseller() { [ "$(python3 "$(dirname "$0")/resources.py" "$exe" | tr '\n' ' ')" = "resource - version 1 " ]; }
check "the default build carries no RESELLER resource and the version entry 1" default_reseller
# The size budget: what the program weighs today, so that growth is a decision.
budget=$((341 * 1024))
size=$(stat -c %s "$exe")
echo "     $(basename "$exe"): $size bytes (budget $budget)"
check "the program is no larger than 341 KiB" test "$size" -le "$budget"
echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
