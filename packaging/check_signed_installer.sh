#!/usr/bin/env bash
# Runs an installer made from the payload lister and its signed copy under
# Wine: both must list the same 216 entries at the same offsets and read
# the same form, and the signature must verify against the test
# certificate.
#   check_signed_installer.sh WINE_RUN STUB UNSIGNED SIGNED OSSLSIGNCODE CERT
set -euo pipefail
wine_run=$1 stub=$2 unsigned=$3 signed=$4 osslsigncode=$5 cert=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$wine_run" "$unsigned" >"$work/unsigned.txt"
"$wine_run" "$signed" >"$work/signed.txt"
tr -d '\r' <"$work/unsigned.txt" >"$work/unsigned"
tr -d '\r' <"$work/signed.txt" >"$work/signed"

summary=$(grep '^entries=' "$work/unsigned")
[[ "$summary" == "entries=216 stub=$(stat -c %s "$stub") "* && "$summary" == *rebuilt=0 ]] || {
  echo "unsigned: $summary, the stub has $(stat -c %s "$stub") bytes"
  exit 1
}
folders=$(awk -F'\t' 'NF == 8 && $6 == "00000010"' "$work/unsigned" | wc -l)
[ "$folders" -eq 7 ] || { echo "unsigned: $folders folders instead of 7"; exit 1; }
grep -q '^form TFMMAIN: fmMain: TfmMain, ' "$work/unsigned" || { echo "unsigned: no form"; exit 1; }
diff -u "$work/unsigned" "$work/signed" || { echo "the signed installer lists another payload"; exit 1; }
[ "$(stat -c %s "$signed")" -gt "$(stat -c %s "$unsigned")" ] || { echo "the signed copy carries no signature"; exit 1; }
"$osslsigncode" verify -CAfile "$cert" -in "$signed" >"$work/verify.txt" 2>&1 || {
  cat "$work/verify.txt"
  exit 1
}
echo "$summary; the signed copy lists the same and verifies"
