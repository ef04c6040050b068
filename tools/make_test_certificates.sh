#!/usr/bin/env bash
# Makes the certificates of the HTTPS servers that the download tests start
# on 127.0.0.1, into tests/data/tls (or the folder given):
#   localhost.crt   self-signed, for 127.0.0.1 and localhost (2000-2150),
#                   with its key localhost.key; only the tests that add it to
#                   their own TLS configuration trust it
#   authority.crt   the authority (valid 2000-2150); only the tests that add
#                   it to their own TLS configuration trust it
#   elements.crt    for elements.test, localhost and 127.0.0.1 (2000-2150)
#   other-host.crt  for another-host.test only (2000-2150): a server at
#                   127.0.0.1 showing it names another host
#   expired.crt     for localhost and 127.0.0.1, valid only in 2001
#   server.key      the key of the three
# Nothing else on the machine trusts them; the authority's key is not kept.
# Valid from 2000 for a century and a half, so that a machine whose clock is
# off still accepts them.
set -euo pipefail
out="${1:-$(cd "$(dirname "$0")/.." && pwd)/tests/data/tls}"
mkdir -p "$out"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/new"
: > "$work/index.txt"
echo 01 > "$work/serial"
cat > "$work/ca.cnf" <<CNF
[ca]
default_ca = test
[test]
dir = $work
database = $work/index.txt
unique_subject = no
new_certs_dir = $work/new
serial = $work/serial
default_md = sha256
policy = any
email_in_dn = no
copy_extensions = none
[any]
commonName = supplied
organizationName = optional
[selfsigned]
subjectAltName = IP:127.0.0.1,DNS:localhost
basicConstraints = critical,CA:TRUE
keyUsage = critical,digitalSignature,keyEncipherment,keyCertSign
subjectKeyIdentifier = hash
[authority]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[elements]
subjectAltName = DNS:elements.test,DNS:localhost,IP:127.0.0.1
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
[other]
subjectAltName = DNS:another-host.test
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
[expired]
subjectAltName = DNS:localhost,IP:127.0.0.1
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
CNF
openssl req -new -newkey rsa:2048 -nodes -keyout "$out/localhost.key" \
  -out "$work/localhost.csr" -subj "/CN=127.0.0.1/O=Astrovela tests"
openssl ca -batch -notext -selfsign -config "$work/ca.cnf" -keyfile "$out/localhost.key" \
  -extensions selfsigned -startdate 20000101000000Z -enddate 21500101000000Z \
  -in "$work/localhost.csr" -out "$out/localhost.crt"
openssl req -new -newkey rsa:2048 -nodes -keyout "$work/authority.key" \
  -out "$work/authority.csr" -subj "/CN=Astrovela test authority/O=Astrovela tests"
openssl ca -batch -notext -selfsign -config "$work/ca.cnf" -keyfile "$work/authority.key" \
  -extensions authority -startdate 20000101000000Z -enddate 21500101000000Z \
  -in "$work/authority.csr" -out "$out/authority.crt"
openssl genrsa -out "$out/server.key" 2048
chmod 644 "$out/server.key"   # read by the tests, run as any user
sign() {   # name, common name, extensions, start, end
  openssl req -new -key "$out/server.key" -out "$work/$1.csr" -subj "/CN=$2/O=Astrovela tests"
  openssl ca -batch -notext -config "$work/ca.cnf" -cert "$out/authority.crt" \
    -keyfile "$work/authority.key" -extensions "$3" -startdate "$4" -enddate "$5" \
    -in "$work/$1.csr" -out "$out/$1.crt"
}
sign elements elements.test elements 20000101000000Z 21500101000000Z
sign other-host another-host.test other 20000101000000Z 21500101000000Z
sign expired 127.0.0.1 expired 20010101000000Z 20020101000000Z
echo "written: $out/localhost.crt $out/localhost.key $out/authority.crt $out/elements.crt $out/other-host.crt $out/expired.crt $out/server.key"
