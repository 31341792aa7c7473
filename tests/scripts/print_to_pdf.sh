#!/usr/bin/env bash
# The command line without a display: help, version and refusals in the
# user's language; printing into a PDF file with its pages, paper, text
# positions with the stored print offsets, and the refusals that write nothing.
set -u
source "$(dirname "$0")/lib/harness.sh"
tessaro=$(realpath "$1")
use_private_home
use_no_display
# The sample card of a fresh user is in the user's language; these checks
# know the German one.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=de_DE.UTF-8
pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'; }

"$tessaro" --help >help.txt 2>stderr.txt || fail "--help: exit $?"
grep -q -- '--print-to-pdf' help.txt || fail "--help does not list --print-to-pdf: $(cat help.txt)"
[ -s stderr.txt ] && fail "--help: output on stderr: $(cat stderr.txt)"
version=$("$tessaro" --version; echo end)
[[ $version =~ ^Tessaro\ [0-9.]+$'\n'end$ ]] || fail "--version does not print one line: '$version'"
"$tessaro" --bogus >stdout.txt 2>stderr.txt
code=$?
[ $code = 2 ] || fail "--bogus: exit $code instead of 2"
[ "$(wc -l <stderr.txt)" = 1 ] && [ ! -s stdout.txt ] || fail "--bogus: not one line on stderr: $(cat stdout.txt stderr.txt)"
grep -q -- 'Unbekannte Option --bogus.*--help' stderr.txt || fail "--bogus in German: $(cat stderr.txt)"
english=$(LANG=en_US.UTF-8 "$tessaro" --bogus 2>&1)
[[ $english == *"Unknown option --bogus"*"tessaro --help"* ]] || fail "--bogus in English: $english"
french=$(LANG=fr_FR.UTF-8 "$tessaro" --bogus 2>&1)
[[ $french == *"Option inconnue --bogus"* ]] || fail "--bogus in French: $french"
LANG=fr_FR.UTF-8 "$tessaro" --help | grep -q '^Utilisation' || fail "--help is not French"
english=$(LANG=en_US.UTF-8 "$tessaro" --print-to-pdf out.pdf missing.tsx 2>&1)
[[ $english == *'The card file "missing.tsx" does not exist.'* ]] || fail "printing refusal in English: $english"

# The last card data of a fresh user: the German sample card, ten on an A4 sheet.
"$tessaro" --print-to-pdf plain.pdf 2>stderr.txt || fail "default card: exit $?"
[ -s stderr.txt ] && fail "default card: unexpected output on stderr: $(cat stderr.txt)"
[ "$(pages plain.pdf)" = 1 ] || fail "default card: $(pages plain.pdf) pages instead of 1"
pdfinfo plain.pdf | grep -q 'Page size:.*595.*842' || fail "default card: page is not A4"
positions plain.pdf Heinz >plain.pos
[ "$(wc -l <plain.pos)" = 10 ] || fail "default card: $(wc -l <plain.pos) names instead of 10"
# Each name starts 5 mm into its slot (the letter's side bearing aside).
awk 'BEGIN {r = 0} {
       col = (NR - 1) % 2; row = int((NR - 1) / 2);
       x = 15 + col * 95 + 5; if ($1 < x - 0.5 || $1 > x + 0.1) bad = bad " slot" NR ":" $1;
       dy = $2 - (10 + row * 55); if (NR == 1) first = dy; else if (dy - first > 0.05 || first - dy > 0.05) bad = bad " row" row ":" $2
     } END {if (bad) {print bad; exit 1}}' plain.pos || fail "default card: names not at their slots: $(cat plain.pos | tr '\n' ' ')"

# The offsets stored for the PDF printer move everything.
mkdir -p "$XDG_CONFIG_HOME"/Ornak
printf '[Druckposition]\nPDF\\FOffsetX=2.5\nPDF\\FOffsetY=-1.5\n' >"$XDG_CONFIG_HOME"/Ornak/Tessaro.conf
"$tessaro" --print-to-pdf shifted.pdf || fail "shifted: exit $?"
positions shifted.pdf Heinz >shifted.pos
paste plain.pos shifted.pos | awk '{dx = $3 - $1 - 2.5; dy = $4 - $2 + 1.5;
       if (dx > 0.05 || dx < -0.05 || dy > 0.05 || dy < -0.05) {print; bad = 1}} END {exit bad}' ||
  fail "stored offsets do not move the print by 2.5 mm right and 1.5 mm up"
[ "$(wc -l <shifted.pos)" = 10 ] || fail "shifted: $(wc -l <shifted.pos) names"
rm "$XDG_CONFIG_HOME"/Ornak/Tessaro.conf

"$tessaro" --print-to-pdf three.pdf --sheets 3 || fail "three sheets: exit $?"
[ "$(pages three.pdf)" = 3 ] || fail "three sheets: $(pages three.pdf) pages"

"$tessaro" --print-to-pdf test.pdf --sheets 5 --test-page || fail "test page: exit $?"
[ "$(pages test.pdf)" = 1 ] || fail "test page: $(pages test.pdf) pages"
[ "$(positions test.pdf Heinz | wc -l)" = 1 ] || fail "test page: the card is not in the first slot only"

# A two-sided card: each front followed by its back, as duplex printing pairs them.
printf '[Daten]\r\nName=Erika Beispiel\r\nMitRueckseite=1\r\nKartentyp=0\r\nBackText1_0=Rueckseitentext\r\n[Layout]\r\nName=100\r\n' >two.tsx
"$tessaro" --print-to-pdf two.pdf --sheets 3 two.tsx || fail "two-sided: exit $?"
[ "$(pages two.pdf)" = 6 ] || fail "two-sided: $(pages two.pdf) pages instead of 6"
for page in 1 2 3 4 5 6; do
  front=$(positions two.pdf Erika $page | wc -l)
  back=$(positions two.pdf Rueckseitentext $page | wc -l)
  if [ $((page % 2)) = 1 ]; then expected="10 0"; else expected="0 10"; fi
  [ "$front $back" = "$expected" ] || fail "two-sided page $page: $front fronts, $back backs"
done

# A vector logo on both sides reaches the PDF as vectors, with no picture of it.
printf '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 30 15"><circle cx="15" cy="7.5" r="6" fill="#00f"/></svg>' >logo.svg
printf '[Daten]\r\nName=Erika Beispiel\r\nMitRueckseite=1\r\nLogodatei=%s\r\nLogodateiR\xc3\xbcckseite=%s\r\n[Layout]\r\nName=100\r\n' \
  "$PWD/logo.svg" "$PWD/logo.svg" >svg.tsx
"$tessaro" --print-to-pdf svg.pdf svg.tsx 2>stderr.txt || fail "vector logo: exit $?"
[ -s stderr.txt ] && fail "vector logo: output on stderr: $(cat stderr.txt)"
[ "$(pages svg.pdf)" = 2 ] || fail "vector logo: $(pages svg.pdf) pages instead of 2"
[ "$(pdfimages -list svg.pdf | tail -n +3 | wc -l)" = 0 ] || fail "vector logo: pictures in the PDF: $(pdfimages -list svg.pdf)"

# Lines the card cannot hold are named on one line of standard error; the
# cards still print.
{
  printf '[Daten]\r\nName=Erika Beispiel\r\n'
  for i in $(seq 0 9); do printf 'TelefonFaxEMail%d=Tel %d: 030 1234567\r\n' "$i" "$i"; done
  printf '[Layout]\r\nName=100\r\n'
} >long.tsx
"$tessaro" --print-to-pdf long.pdf long.tsx 2>stderr.txt || fail "lost lines: exit $?"
[ "$(wc -l <stderr.txt)" = 1 ] && grep -q '^tessaro: Diese Zeilen passen nicht .*: .*Tel 8: 030 1234567, Tel 9: 030 1234567$' stderr.txt ||
  fail "lost lines: not named on one line: $(cat stderr.txt)"

# Folding cards: five 170 x 55 mm slots from 20 mm; fronts and backs right of
# the fold at 85 mm, inside and outer texts left of it.
# halves FILE WORD PAGE right|left NAME
halves() {
  positions "$1" "$2" "$3" | awk -v half="$4" -v w="$2" '{
      row = NR - 1; left = 20 + (half == "right" ? 85 : 0); top = 10 + row * 55;
      if ($1 < left || $1 > left + 85 || $2 < top || $2 > top + 55) bad = bad " " w "@" $1 "," $2
    } END {if (NR != 5) bad = bad " " NR " times"; if (bad) {print bad; exit 1}}' ||
    fail "$5: $2 on page $3 not once in the $4 half of each slot"
}
folding='[Daten]\r\nName=Erika Beispiel\r\nKartentyp=1\r\nMitRueckseite=%s\r\nBackText1_0=Rueckseitentext\r\nKlappVisitenkartenTextInnen0=Innentext\r\nKlappVisitenkartenTextAussen0=Aussentext\r\n[Layout]\r\nName=100\r\n'
printf "$folding" 0 >fold1.tsx
printf "$folding" 1 >fold2.tsx
"$tessaro" --print-to-pdf fold1.pdf fold1.tsx || fail "folding one-sided: exit $?"
[ "$(pages fold1.pdf)" = 1 ] || fail "folding one-sided: $(pages fold1.pdf) pages"
halves fold1.pdf Erika 1 right "folding one-sided"
halves fold1.pdf Innentext 1 left "folding one-sided"
positions fold1.pdf Erika | awk '$1 < 109.5 || $1 > 110.1 {exit 1}' ||
  fail "folding one-sided: the names do not start 5 mm right of the fold"
"$tessaro" --print-to-pdf fold2.pdf fold2.tsx || fail "folding two-sided: exit $?"
[ "$(pages fold2.pdf)" = 2 ] || fail "folding two-sided: $(pages fold2.pdf) pages"
halves fold2.pdf Erika 1 right "folding two-sided"
halves fold2.pdf Innentext 1 left "folding two-sided"
halves fold2.pdf Rueckseitentext 2 right "folding two-sided"
halves fold2.pdf Aussentext 2 left "folding two-sided"

# The same card as the last one in the settings, printed without a card file.
printf '[Daten]\nDefault\\VorNachname=Erika Beispiel\nDefault\\Kartentyp=1\nDefault\\MitRueckseite=1\nDefault\\Kartenlayout=100\nDefault\\BackText1=Rueckseitentext\nDefault\\KlappVisitenkartenTextInnen=Innentext\nDefault\\KlappVisitenkartenTextAussen=Aussentext\n' >"$XDG_CONFIG_HOME"/Ornak/Tessaro.conf
"$tessaro" --print-to-pdf fold3.pdf || fail "folding from the settings: exit $?"
[ "$(pages fold3.pdf)" = 2 ] || fail "folding from the settings: $(pages fold3.pdf) pages"
halves fold3.pdf Erika 1 right "folding from the settings"
halves fold3.pdf Innentext 1 left "folding from the settings"
halves fold3.pdf Rueckseitentext 2 right "folding from the settings"
halves fold3.pdf Aussentext 2 left "folding from the settings"

# A name of 20 million characters in the settings is printed as far as a
# card file would give it, at once.
{ printf '[Daten]\nDefault\\VorNachname='; head -c 20000000 /dev/zero | tr '\0' n; printf '\n'; } >"$XDG_CONFIG_HOME"/Ornak/Tessaro.conf
start=$(date +%s%N)
"$tessaro" --print-to-pdf long.pdf || fail "20 million characters: exit $?"
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$elapsed" -lt 5000 ] || fail "20 million characters: printing took $elapsed ms"
rm "$XDG_CONFIG_HOME"/Ornak/Tessaro.conf

# A contact of a vCard file in the design of a card file, as the menu's
# import puts it there: the second of two here, with the card's back.
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Max Erster\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Otto Zweiter\r\nEND:VCARD\r\n' >team.vcf
"$tessaro" --print-to-pdf contact.pdf --import-contact team.vcf --contact-index 2 two.tsx 2>stderr.txt ||
  fail "contact: exit $?"
[ -s stderr.txt ] && fail "contact: output on stderr: $(cat stderr.txt)"
[ "$(pages contact.pdf)" = 2 ] || fail "contact: $(pages contact.pdf) pages instead of front and back"
[ "$(positions contact.pdf Otto 1 | wc -l)" = 10 ] || fail "contact: the second contact is not on the cards"
[ "$(positions contact.pdf Erika | wc -l)" = 0 ] || fail "contact: the card file's own name is printed"
[ "$(positions contact.pdf Rueckseitentext 2 | wc -l)" = 10 ] || fail "contact: the card file's back is missing"
"$tessaro" --print-to-pdf first.pdf --import-contact team.vcf || fail "first contact: exit $?"
[ "$(positions first.pdf Max | wc -l)" = 10 ] || fail "first contact: not the first contact on the cards"

# Refusals: one line on stderr, a non-zero exit, no file written, an existing one kept.
echo "[Fremd]" >foreign.tsx
echo "keep me" >existing.pdf
mkdir folder.pdf
refuse() {
  local name=$1 out=$2
  shift 2
  "$tessaro" --print-to-pdf "$out" "$@" >stdout.txt 2>stderr.txt
  local code=$?
  [ $code -ne 0 ] || fail "$name: exit 0"
  [ "$(wc -l <stderr.txt)" = 1 ] || fail "$name: stderr is not one line: $(cat stderr.txt)"
  [ -s stdout.txt ] && fail "$name: output on stdout"
  if [ "$out" = existing.pdf ]; then
    [ "$(cat existing.pdf)" = "keep me" ] || fail "$name: the existing file was changed"
  elif [ -f "$out" ]; then
    fail "$name: $out was written"
  fi
}
refuse "missing card" out1.pdf missing.tsx
refuse "foreign card" existing.pdf foreign.tsx
refuse "folder for output" folder.pdf
refuse "missing folder" nowhere/out.pdf
refuse "zero sheets" out2.pdf --sheets 0
refuse "100 sheets" out3.pdf --sheets 100
refuse "sheets not a number" existing.pdf --sheets drei
refuse "sheets without value" out4.pdf --sheets
refuse "unknown option" out5.pdf --duplex
refuse "two cards" out6.pdf two.tsx two.tsx
refuse "sheets given twice" out8.pdf --sheets 3 --sheets 99
# The import's own messages, as the menu shows them, end the command line.
refuse_contact() { # <name> <expected text> <arguments>
  local name=$1 text=$2
  shift 2
  refuse "$name" out9.pdf "$@"
  "$tessaro" --print-to-pdf out9.pdf "$@" 2>/dev/null
  [ $? = 2 ] || fail "$name: exit code is not 2"
  grep -qF "$text" stderr.txt || fail "$name: $(cat stderr.txt)"
}
refuse_contact "contact beyond the file" 'Die Datei "team.vcf" hat keinen 3. Kontakt; ihre Kontakte sind von 1 bis 2' \
  --import-contact team.vcf --contact-index 3
refuse_contact "no contact in the file" 'Die Datei "foreign.tsx" enthält keinen Kontakt.' --import-contact foreign.tsx
refuse_contact "missing contact file" 'Die Datei "fehlt.vcf" konnte nicht gelesen werden.' --import-contact fehlt.vcf
french=$(LANG=fr_FR.UTF-8 "$tessaro" --print-to-pdf out9.pdf --import-contact foreign.tsx 2>&1)
[[ $french == *'Le fichier « foreign.tsx » ne contient aucun contact.'* ]] || fail "contact refusal in French: $french"
"$tessaro" --print-to-pdf - >stdout.txt 2>stderr.txt && fail "'-' as the PDF file: exit 0"
[ -e ./- ] && fail "'-' as the PDF file: a file named '-' was written"
# Resource-writing mode whose text file cannot be written (a folder holds its
# name) fails the run and says so in the user's language.
mkdir -p reswrite/tessaro.txt
cp "$tessaro" reswrite/tessaro
LANG=en_US.UTF-8 reswrite/tessaro /RESWRITE --print-to-pdf rw.pdf >stdout.txt 2>stderr.txt
code=$?
[ $code = 1 ] || fail "unwritable text file: exit $code instead of 1"
grep -q 'The text file ".*reswrite/tessaro.txt" could not be written' stderr.txt ||
  fail "unwritable text file: not told in English: $(cat stderr.txt)"
printf '[Daten]\r\nName=A\r\n[Bogen]\r\nName=x\r\nPapierBreite=210\r\nPapierHoehe=297\r\nKarteBreite=85\r\nKarteHoehe=55\r\nSpalten=0\r\nZeilen=5\r\nRandLinks=15\r\nRandOben=10\r\nAbstandX=95\r\nAbstandY=55\r\n' >nosheet.tsx
refuse "sheet without cards" out7.pdf nosheet.tsx
grep -q 'mindestens eine Spalte' stderr.txt || fail "sheet without cards: the reason is not given: $(cat stderr.txt)"
# A card file that may not be read says so and why; root reads every file,
# so the program runs without that right.
printf '[Daten]\r\nName=Geheim\r\n' >secret.tsx
chmod 000 secret.tsx
without_override=()
[ "$(id -u)" = 0 ] && without_override=(setpriv --bounding-set=-dac_override,-dac_read_search)
"${without_override[@]}" "$tessaro" --print-to-pdf out8.pdf secret.tsx >stdout.txt 2>stderr.txt
code=$?
[ $code = 2 ] || fail "unreadable card: exit $code instead of 2"
[ "$(wc -l <stderr.txt)" = 1 ] && grep -q 'Die Datei "secret.tsx" konnte nicht gelesen werden\. [^ ]' stderr.txt ||
  fail "unreadable card: not the reason on one line: $(cat stderr.txt)"
[ -e out8.pdf ] && fail "unreadable card: out8.pdf was written"
mkfifo fifo.pdf
refuse "a FIFO for output" fifo.pdf
[ -p fifo.pdf ] || fail "the FIFO is no longer one"
# A device node of its own (root may make one): a broken program must not
# replace the system's.
if mknod device.pdf c 1 3 2>/dev/null; then
  refuse "a device for output" device.pdf
  [ -c device.pdf ] || fail "the device is no longer one"
fi
# A full disk: the writer may not grow the file beyond 8 KB.
(trap '' XFSZ; ulimit -f 8; exec "$tessaro" --print-to-pdf full.pdf) >stdout.txt 2>stderr.txt &&
  fail "full disk: exit 0"
[ "$(wc -l <stderr.txt)" = 1 ] || fail "full disk: stderr is not one line: $(cat stderr.txt)"
[ -e full.pdf ] && fail "full disk: full.pdf was left behind"
ls "$work"/.*.pdf* "$work"/*.pdf.* >/dev/null 2>&1 && fail "temporary files left behind: $(ls -a "$work")"
"$tessaro" --print-to-pdf >/dev/null 2>stderr.txt && fail "no output file: exit 0"

finish
