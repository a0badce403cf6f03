#!/usr/bin/env bash
# Makes a test certificate chain and four copies of a fixture installer for the
# signature checks: signed by the maker, signed under another name, unsigned,
# and altered after signing.
# usage: tests/signing/sign-fixtures.sh INSTALLER OUT_DIR [PADDED_SIZE]
# PADDED_SIZE pads the installer with zeros before signing, so that a download
# of it takes a while. Idempotent; the keys never leave OUT_DIR.
set -euo pipefail
installer=$(realpath "$1")
out=$2
size=${3:-0}
mkdir -p "$out"
cd "$out"

maker="Ostrevane Software Limited"
other="Someone Else Limited"

cert() {  # name, common name: a code-signing certificate issued by the test root
  [ -f "$1.crt" ] && return 0
  openssl req -new -newkey rsa:2048 -nodes -keyout "$1.key" -subj "/CN=$2/O=$2" -out "$1.csr" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\nextendedKeyUsage=codeSigning\n' >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA root.crt -CAkey root.key -CAcreateserial -days 3650 -sha256 \
    -extfile "$1.ext" -out "$1.crt" 2>/dev/null
  cat "$1.crt" root.crt >"$1-chain.pem"
  rm -f "$1.csr" "$1.ext"
}

if [ ! -f root.crt ]; then
  openssl req -x509 -new -newkey rsa:2048 -nodes -keyout root.key -days 3650 -sha256 \
    -subj "/CN=Vestora Test Root" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign,cRLSign -out root.crt 2>/dev/null
fi
cert maker "$maker"
cert other "$other"

cp "$installer" installer-unsigned.exe
if [ "$size" -gt "$(stat -c %s installer-unsigned.exe)" ]; then
  truncate -s "$size" installer-unsigned.exe
fi
sign() {  # key name, output
  rm -f "$2"
  osslsigncode sign -certs "$1-chain.pem" -key "$1.key" -h sha256 -in installer-unsigned.exe -out "$2" >/dev/null
}
sign maker installer-maker.exe
sign other installer-other.exe
# One byte of the signed content changed: the signature no longer holds.
cp installer-maker.exe installer-altered.exe
last=$(($(stat -c %s installer-unsigned.exe) - 1))
printf '\x01' | dd of=installer-altered.exe bs=1 seek="$last" conv=notrunc status=none
