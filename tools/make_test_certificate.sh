#!/usr/bin/env bash
# Makes the self-signed certificate and key of the HTTPS server that the
# download tests start on 127.0.0.1. Only those tests trust it (they add it
# to their own TLS configuration); nothing else on the machine does.
# Valid from 2000 for a century and a half, for 127.0.0.1 and localhost, so
# that a machine whose clock is off still accepts it.
set -euo pipefail
out="$(cd "$(dirname "$0")/.." && pwd)/tests/data/tls"
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
new_certs_dir = $work/new
serial = $work/serial
default_md = sha256
policy = any
email_in_dn = no
copy_extensions = none
x509_extensions = ext
[any]
commonName = supplied
organizationName = optional
[ext]
subjectAltName = IP:127.0.0.1,DNS:localhost
basicConstraints = critical,CA:TRUE
keyUsage = critical,digitalSignature,keyEncipherment,keyCertSign
subjectKeyIdentifier = hash
CNF
openssl req -new -newkey rsa:2048 -nodes -keyout "$out/localhost.key" \
  -out "$work/req.csr" -subj "/CN=127.0.0.1/O=Astrovela tests"
openssl ca -batch -notext -selfsign -config "$work/ca.cnf" -keyfile "$out/localhost.key" \
  -startdate 20000101000000Z -enddate 21500101000000Z \
  -in "$work/req.csr" -out "$out/localhost.crt"
echo "written: $out/localhost.crt $out/localhost.key"
