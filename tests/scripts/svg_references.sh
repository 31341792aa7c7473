#!/usr/bin/env bash
# An SVG logo naming a local picture, a FIFO, standard input, a name beside
# the working folder and an address, printed from the command line: the
# logo prints without them, nothing it names is opened, nothing waits, and
# standard error says once what was left out.
set -u
source "$(dirname "$0")/lib/harness.sh"
tessaro=$(realpath "$1")
command -v strace >/dev/null || skip "strace is missing"
use_private_home
use_no_display
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=de_DE.UTF-8

# An 8 x 8 red picture.
red=iVBORw0KGgoAAAANSUhEUgAAAAgAAAAICAIAAABLbSncAAAAEUlEQVR42mP4z8CAFTEMLQkAKP8/wc53yE8AAAAASUVORK5CYII=
echo "$red" | base64 -d >secret.png
echo "$red" | base64 -d >.face
mkfifo waiting.png
printf '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" viewBox="0 0 40 20">
<rect width="20" height="20" fill="#00f"/>
<image x="20" width="20" height="20" xlink:href="%s"/>
<image x="20" width="20" height="20" xlink:href=".face"/>
<image x="20" width="20" height="20" xlink:href="%s"/>
<image x="20" width="20" height="20" xlink:href="/dev/stdin"/>
<image x="20" width="20" height="20" xlink:href="http://127.0.0.1:9/logo.png"/>
</svg>' "$PWD/secret.png" "$PWD/waiting.png" >logo.svg
printf '[Daten]\r\nName=Erika Beispiel\r\nLogodatei=%s\r\n[Layout]\r\nName=100\r\n' "$PWD/logo.svg" >card.tsx

# Standard input stays open and silent: a FIFO held open for writing by
# this shell, which does not wait for a reader.
mkfifo input
exec 3<>input
# The leak check of a sanitizer build cannot run under a tracer.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
  strace -f -e trace=openat,open -o trace.txt timeout 20 "$tessaro" --print-to-pdf out.pdf card.tsx <&3 2>stderr.txt
code=$?
exec 3<&-
[ $code = 124 ] && fatal "the print waited for something the logo names"
[ $code = 0 ] || fail "exit $code: $(cat stderr.txt)"
[ "$(pdfinfo out.pdf 2>/dev/null | awk '/^Pages:/ {print $2}')" = 1 ] || fail "no one-page PDF"
[ "$(pdfimages -list out.pdf | tail -n +3 | wc -l)" = 0 ] || fail "pictures in the PDF: $(pdfimages -list out.pdf)"

grep -q "\"$PWD/logo.svg\"" trace.txt || fail "the trace does not show the logo being read"
for name in "$PWD/secret.png" '.face' "$PWD/.face" "$PWD/waiting.png" /dev/stdin; do
  grep -F "\"$name" trace.txt | grep -q -v '^[0-9]* *execve' && fail "$name was opened: $(grep -F "\"$name" trace.txt)"
done

[ "$(wc -l <stderr.txt)" = 1 ] || fail "stderr is not one line: $(cat stderr.txt)"
grep -q "^tessaro: Aus der Logodatei $PWD/logo.svg wurde weggelassen, .*: .*secret.png, \.face, .*waiting.png, …$" stderr.txt ||
  fail "stderr does not say what was left out: $(cat stderr.txt)"

finish
