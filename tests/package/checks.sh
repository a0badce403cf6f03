# The package checks' counting, sourced by check.sh and release.sh.
# check NAME COMMAND...: runs COMMAND and prints "ok" or "FAIL" with NAME.
passed=0
failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "ok   $name"; else failed=$((failed + 1)); echo "FAIL $name"; fi
}
