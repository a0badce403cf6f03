#!/usr/bin/env bash
# A reseller release made by tools/release, signed with a test certificate made here:
# its reseller data, its signature, its reproducibility, and that it still runs.
# usage: tests/package/release.sh WORK_DIR ARTIFACTS_DIR
# Ends with "release: N passed, N failed" (", N skipped" without 32-bit support).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$1
artifacts=$2
mkdir -p "$work" "$artifacts"
work=$(cd "$work" && pwd)
source "$root/tools/lib/wine.sh"

source "$here/checks.sh"
skipped=0

# A test signing key in a PKCS#12 file, issued by a test root.
keys="$work/keys"
rm -rf "$keys" "$work/dist"
mkdir -p "$keys"
"$root/tests/signing/sign-fixtures.sh" "$root/build/win64/tests/win/fixture_installer.exe" "$keys" >/dev/null
password="release-test-$RANDOM$RANDOM"
printf '%s' "$password" >"$keys/password"
openssl pkcs12 -export -inkey "$keys/maker.key" -in "$keys/maker.crt" -certfile "$keys/root.crt" \
  -out "$keys/maker.p12" -passout "file:$keys/password" 2>/dev/null

# Compiled through the cache, but for the check that two builds give the same bytes.
release_compiled() { "$root/tools/release" "$@" >>"$artifacts/release.log" 2>&1; }
release() { release_compiled --compile-cache "$@"; }
: >"$artifacts/release.log"
dist="$work/dist"
file="$dist/VestoraWebInstaller_4711.exe"
check "tools/release --reseller 4711 --sign-pkcs12 builds and signs" \
  release --reseller 4711 --out "$dist" --sign-pkcs12 "$keys/maker.p12" --sign-password-file "$keys/password" \
  --verify-ca "$keys/root.crt"
cp "$root/build/release-i686-4711/VestoraWebInstaller.exe" "$work/unsigned-first.exe" 2>/dev/null
signature_verifies() { osslsigncode verify -CAfile "$keys/root.crt" -in "$file" 2>&1 | grep -q '^Succeeded'; }
check "the release's signature verifies" signature_verifies
signed_by_the_maker() { osslsigncode verify -CAfile "$keys/root.crt" -in "$file" 2>&1 | grep -q 'Ostrevane Software Limited'; }
check "the release is signed in the maker's name" signed_by_the_maker
reseller_data() { python3 "$here/resources.py" "$file" | tr '\n' ' '; }
check "the RESELLER resource and the version entry say 4711" eval '[ "$(reseller_data)" = "resource 4711 version 4711 " ]'
only_the_program_left() { [ "$(ls -A "$dist")" = VestoraWebInstaller_4711.exe ]; }
check "the output folder holds the program alone" only_the_program_left
password_nowhere() { ! grep -rqF "$password" "$dist" "$root/build/release-i686-4711" "$artifacts/release.log"; }
check "the password is written nowhere" password_nowhere
refuses_a_wrong_password() {
  printf 'wrong' >"$work/wrong-password"
  ! release --reuse-build --reseller 4711 --out "$work/refused" --sign-pkcs12 "$keys/maker.p12" \
    --sign-password-file "$work/wrong-password" --verify-ca "$keys/root.crt" && [ ! -e "$work/refused/VestoraWebInstaller_4711.exe" ]
}
check "signing with a wrong password fails and leaves no program" refuses_a_wrong_password
check "a second release of the same sources is byte-identical before signing" eval \
  'release_compiled --reseller 4711 --out "$work/again" && cmp "$work/unsigned-first.exe" "$work/again/VestoraWebInstaller_4711.exe"'

# The signed file still runs and records its reseller number on its first page.
runs_and_records() {  # program, wine
  wine_start_xvfb && wine_prefix "$work/prefix" || return 1
  "$2" "$1" >/dev/null 2>&1 &
  local pid=$! ok=1
  read -r _ x y w h _ < <("$2" "$root/build/win64/tests/e2e/e2e_probe.exe" window | tr -d '\r')
  if [ -n "${w:-}" ]; then
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/release-first-page.png"
    "$WINE64" reg query 'HKLM\Software\Ostrevane\Referrer' /v ID /reg:32 2>/dev/null | tr -d '\r' |
      grep -qE 'ID +REG_DWORD +0x1267$' && ok=0
  fi
  kill "$pid" 2>/dev/null
  wine_cleanup
  return $ok
}
if reason=$(wine32_unsupported); then
  echo "skip the signed i686 release's first page: $reason; the x86_64 twin of the release runs instead"
  skipped=$((skipped + 1))
  VESTORA_SIGN_PASSWORD=$password check "the x86_64 twin of the release builds and signs (password from the environment)" \
    release --reseller 4711 --arch x86_64 --out "$work/twin" --sign-pkcs12 "$keys/maker.p12" --verify-ca "$keys/root.crt"
  check "the signed twin shows its first page and records reseller 4711" \
    runs_and_records "$work/twin/VestoraWebInstaller_4711_x86_64.exe" "$WINE64"
else
  check "the signed release shows its first page and records reseller 4711" runs_and_records "$file" "$WINE32"
fi

if [ "$skipped" -gt 0 ]; then
  echo "release: $passed passed, $failed failed, $skipped skipped"
else
  echo "release: $passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
