#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# PDF jobs as records, read back by real readers: qpdf, poppler (pdfinfo, pdffonts, pdfsig,
# pdftotext) and a PDF/A-1b check on pikepdf; signed jobs verified and then tampered with; keys
# that cannot sign fail the job before it has a file. Keys are made here with openssl.
# Usage: pdf-records.sh RECINFO SAMPLES_DIR
set -euo pipefail
samples="$2"
# shellcheck source=../host/command-line.sh
. "$(dirname "$0")/../host/command-line.sh" "$1" "$samples/rf-network-alarms.json"
check="$(dirname "$0")/pdfa_check.py"
keys="$work/keys" pdf="$VXRECINFO_PDF_DIR"
mkdir -p "$keys" "$pdf"
unset VXRECINFO_SIGN_PASSPHRASE

ossl() { openssl "$@" >/dev/null 2>"$work/openssl" || fail "openssl $1: $(cat "$work/openssl")"; }
ossl req -x509 -newkey rsa:2048 -nodes -keyout "$keys/key.pem" -out "$keys/cert.pem" -days 30 -subj "/CN=Test Signer"
ossl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/good.p12" -passout pass:secret
ossl pkcs12 -export -nokeys -in "$keys/cert.pem" -out "$keys/nokey.p12" -passout pass:secret
# openssl ca sets any validity, past or future, which openssl req -x509 cannot in OpenSSL 3.0.
printf '[ca]\ndefault_ca=d\n[d]\ndatabase=%s/index\nnew_certs_dir=%s\nserial=%s/serial\ndefault_md=sha256
policy=p\nunique_subject=no\n[p]\ncommonName=supplied\n' "$keys" "$keys" "$keys" >"$keys/ca.cnf"
: >"$keys/index"; echo 01 >"$keys/serial"
ossl req -new -key "$keys/key.pem" -subj "/CN=Dated Signer" -out "$keys/csr"
for dates in "expired 20200101000000Z 20200102000000Z" "future 20400101000000Z 20410101000000Z"; do
  read -r name from to <<<"$dates"
  ossl ca -batch -config "$keys/ca.cnf" -selfsign -keyfile "$keys/key.pem" -in "$keys/csr" -out "$keys/$name.pem" \
    -startdate "$from" -enddate "$to"
  ossl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/$name.pem" -out "$keys/$name.p12" -passout pass:secret
done
echo secret >"$keys/pass"; echo nope >"$keys/wrong"

# The first description, the " and N more" of the title, authors and serial numbers of a
# sample, as a job of all its datasets should show them.
facts() {
  /usr/bin/python3 -c 'import json, sys
d = json.load(open(sys.argv[1]))["datasets"]
print(d[0]["Description"])
print(f" and {len(d) - 1} more" if len(d) > 1 else "")
print("; ".join(dict.fromkeys(x["Author"] for x in d if x.get("Author"))))
print(" ".join(dict.fromkeys(x["SerialNumber"] for x in d)))' "$samples/$1"
}
info() { sed -n "s/^$1: *//p" "$work/info"; }
xmp() { sed -n "s|.*<$1>\(.*\)</$1>.*|\1|p" "$work/meta"; }
sameInstant() { local a b; [ -n "$1" ] && [ -n "$2" ] && a="$(date -ud "$1" +%s)" && b="$(date -ud "$2" +%s)" && [ "$a" = "$b" ]; }

# sample | environment | options: every job readable, its metadata real, PDF/A and signature as asked.
while IFS='|' read -r file envs options; do
  what="$file ${options:-plain}"
  # shellcheck disable=SC2086
  out="$(env $envs "$recinfo" print "$samples/$file" --printer "vxRecInfo PDF" ${options//KEYS/$keys})" || fail "$what: print failed"
  job="$(sed -n 's/^printed [0-9]* report(s) on "vxRecInfo PDF" into //p' <<<"$out")"
  [ -f "$job" ] || fail "$what: no job file in '$out'"
  qpdf --check "$job" >"$work/qpdf" 2>&1 || fail "$what: qpdf --check: $(cat "$work/qpdf")"
  pdfinfo -isodates "$job" >"$work/info" && pdfinfo -meta "$job" >"$work/meta" || fail "$what: pdfinfo failed"
  facts="$(facts "$file")" || fail "$file: cannot read the sample"
  { IFS= read -r description; IFS= read -r more; IFS= read -r author; read -r serials; } <<<"$facts"
  [ "$(info Title)" = "$description$more" ] || fail "$what: Title '$(info Title)', not '$description$more'"
  [ "$(info Author)" = "$author" ] && [[ "$(info Creator)" == "vxRecInfo "?* ]] ||
    fail "$what: Author '$(info Author)' and Creator '$(info Creator)'"
  for serial in $serials; do
    [[ "$(info Subject)" == *"$serial"* && "$(info Keywords)" == *"$serial"* ]] ||
      fail "$what: $serial not in Subject '$(info Subject)' and Keywords '$(info Keywords)'"
  done
  sameInstant "$(info CreationDate)" "$(xmp xmp:CreateDate)" && sameInstant "$(info ModDate)" "$(xmp xmp:ModifyDate)" ||
    fail "$what: Info dates $(info CreationDate) $(info ModDate), XMP $(xmp xmp:CreateDate) $(xmp xmp:ModifyDate)"
  (($(date +%s) - $(date -ud "$(info CreationDate)" +%s) < 600)) || fail "$what: created at $(info CreationDate)"
  pdffonts "$job" | awk 'NR > 2 { n++; if ($(NF-4) != "yes") bad = 1 } END { exit !(n && !bad) }' ||
    fail "$what: fonts not all embedded: $(pdffonts "$job")"
  if [[ "$options" == *--pdfa* ]]; then
    [ "$(xmp pdfaid:part)/$(xmp pdfaid:conformance)" = 1/B ] || fail "$what: XMP has no pdfaid 1/B"
    /usr/bin/python3 "$check" "$job" || fail "$what: not PDF/A-1b"
  else
    ! grep -q pdfaid "$work/meta" || fail "$what: a plain job claims PDF/A"
    # The checker can fail: a plain job is no PDF/A.
    { /usr/bin/python3 "$check" "$job" || true; } | grep -q 'XMP pdfaid part None' || fail "$what: pdfa_check.py passes a plain job"
  fi
  pdfsig "$job" >"$work/sig" 2>&1 || true
  status=0; "$recinfo" verify "$job" >"$work/verify" || status=$?
  if [[ "$options" == *--sign* ]]; then
    grep -q 'Signature is Valid\.' "$work/sig" && grep -q 'Total document signed' "$work/sig" && grep -q 'SHA-256' "$work/sig" &&
      grep -q 'adbe.pkcs7.detached' "$work/sig" || fail "$what: pdfsig: $(cat "$work/sig")"
    [ "$status" -eq 0 ] && grep -qxE "$job: intact: signed by Test Signer at [0-9-]{10}T[0-9:]{8}Z; the signature covers the whole file; the digest matches" \
      "$work/verify" || fail "$what: verify $status: $(cat "$work/verify")"
    signed="$job"
  else
    grep -q 'does not contain any signatures' "$work/sig" || fail "$what: pdfsig: $(cat "$work/sig")"
    [ "$status" -eq 1 ] && grep -qx "$job: unsigned: is not signed" "$work/verify" || fail "$what: verify $status: $(cat "$work/verify")"
    plain="$job"
  fi
done <<'CASES'
temp-humidity.json||
four-channel-temperature.json||--pdfa
four-channel-temperature.json||--sign KEYS/good.p12 --sign-passphrase-file KEYS/pass
rf-network-alarms.json||
rf-network-alarms.json|VXRECINFO_SIGN_PASSPHRASE=secret|--pdfa --sign KEYS/good.p12
CASES
echo "ok: plain, PDF/A, signed and signed PDF/A jobs read back"
# The last rows leave $plain and $signed two jobs of one sample.

# Signing and PDF/A change no text, page break or serial number line.
cmp -s <(pdftotext "$plain" -) <(pdftotext "$signed" -) &&
  grep -qx 'RF7-030954' <(pdftotext "$signed" -) || fail "the signed PDF/A text differs from the plain job's"

# A signed job tampered with: one byte of the first page's content stream flipped, bytes appended.
/usr/bin/python3 - "$signed" "$work/flipped.pdf" <<'EOF' || fail "cannot flip a content byte"
import sys, pikepdf
source, target = sys.argv[1:]
with pikepdf.open(source) as pdf:
    contents = pdf.pages[0].obj.Contents
    raw = (contents[0] if isinstance(contents, pikepdf.Array) else contents).read_raw_bytes()
data = bytearray(open(source, 'rb').read())
data[data.index(raw) + len(raw) // 2] ^= 0x20  # the stream's bytes as the file holds them
open(target, 'wb').write(data)
EOF
{ cat "$signed"; echo '% appended'; } >"$work/appended.pdf"
cp "$samples/temp-humidity.json" "$work/json.pdf"
# file | recinfo verify's line after "FILE: " (verify exits 1) | pdfsig's line
while IFS='|' read -r file line sig; do
  status=0; "$recinfo" verify "$file" >"$work/verify" || status=$?
  [ "$status" -eq 1 ] && grep -qxE "$file: $line" "$work/verify" || fail "verify $file: $status, $(cat "$work/verify")"
  grep -q "$sig" <(pdfsig "$file" 2>&1) || fail "pdfsig $file: $(pdfsig "$file" 2>&1)"
done <<CASES
$work/flipped.pdf|altered: signed by Test Signer at .*; the signature covers the whole file; the digest does not match|Digest Mismatch
$work/appended.pdf|altered: signed by Test Signer at .*; the signature does not cover the whole file; the digest matches|Not total document signed
$work/json.pdf|unreadable: .+|Couldn't read xref table
$work/none.pdf|unreadable: is not there|
CASES
! "$recinfo" verify "$signed" "$plain" >"$work/verify" && [ "$(cut -d: -f2 "$work/verify" | tr -d '\n')" = " intact unsigned" ] ||
  fail "verify of an intact and an unsigned file: $(cat "$work/verify")"
echo "ok: verify and pdfsig tell tampered, unsigned and unreadable files"

# Keys that cannot sign (tests/data/cases/print-keys-that-cannot-sign.tsv): one line, status 1, nothing in the folder.
while IFS=$'\t' read -r options number named envs; do
  [[ "$options" != '#'* ]] || continue
  before="$(ls -A "$pdf")"
  status=0
  # shellcheck disable=SC2086
  env $envs "$recinfo" print "$sample" --printer "vxRecInfo PDF" ${options//KEYS/$keys} >"$work/out" 2>"$work/err" || status=$?
  [ "$status" -eq 1 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
    grep -qE "^recinfo: PrintAll failed with error $number: .*$named" "$work/err" ||
    fail "$options ($envs): status $status, $(cat "$work/out" "$work/err")"
  [ "$(ls -A "$pdf")" = "$before" ] || fail "$options ($envs): left $(ls -A "$pdf")"
done <"$(dirname "$0")/../data/cases/print-keys-that-cannot-sign.tsv"
echo "ok: keys that cannot sign fail before the job has a file"

# The passphrase has no option of its own: a command line is seen by every user of the machine.
status=0
"$recinfo" print "$sample" --printer "vxRecInfo PDF" --sign "$keys/good.p12" --sign-passphrase secret 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && grep -q "unknown option '--sign-passphrase'" "$work/err" || fail "--sign-passphrase: $status, $(cat "$work/err")"
echo "ok: no passphrase on the command line"

# The host's settings alone ask for PDF/A and the key; the reason is in the user's language.
/usr/bin/python3 -c 'import json, sys
d = json.load(open(sys.argv[1])); d.setdefault("settings", {}).update(ResOffset=2000, PdfArchive=True,
    PdfSigningKey=sys.argv[2] + "/good.p12", PdfPassphraseFile=sys.argv[2] + "/pass")
json.dump(d, open(sys.argv[3], "w"))' "$samples/temp-humidity.json" "$keys" "$work/settings.json"
out="$("$recinfo" print "$work/settings.json" --printer "vxRecInfo PDF")" || fail "print with the host's settings failed"
job="$(sed -n 's/^printed [0-9]* report(s) on "vxRecInfo PDF" into //p' <<<"$out")"
"$recinfo" verify "$job" >/dev/null && "$check" "$job" >/dev/null || fail "host settings: not a signed PDF/A job"
reason="$(/usr/bin/python3 -c 'import pikepdf, sys; print(pikepdf.open(sys.argv[1]).Root.AcroForm.Fields[0].V.Reason)' "$job")"
[ "$reason" = "記録レポート" ] || fail "the reason at ResOffset 2000 is '$reason'"
echo "ok: PDF/A and the key from the host's settings, the reason in the user's language"
