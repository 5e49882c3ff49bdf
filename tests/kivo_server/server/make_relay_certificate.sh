#!/bin/sh
# A self-signed certificate and its key in one PEM file, for the SSL relay's tests.
#   make_relay_certificate.sh OUTPUT.pem
set -e
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj /CN=127.0.0.1 \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null
mkdir -p "$(dirname "$1")"
cat "$dir/cert.pem" "$dir/key.pem" >"$1"
