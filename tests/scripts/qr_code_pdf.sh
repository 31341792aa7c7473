#!/usr/bin/env bash
# The contact QR code on printed sheets: printed to PDF, rendered at 300 dpi
# and read back with a barcode reader. Every slot carries a code holding the
# card's vCard, on the chosen side only, at its place within 0.3 mm, drawn as
# vectors; an automatic corner covers no text.
set -u
source "$(dirname "$0")/lib/harness.sh"
tessaro=$(realpath "$1")
use_private_home
use_no_display
dpi=300

# Writes the card file $7: a card with umlauts and phone, fax and e-mail
# lines; $1 Kartentyp, $2 MitRueckseite, $3 layout, $4 Seite, $5 Ecke,
# $6 Groesse.
card() {
  printf '[Daten]\r\nName=J\xc3\xbcrgen M\xc3\xbcller\r\nTitel=Dr.\r\nBeruf0=Statiker\r\n' >"$7"
  printf 'Adresse0=Hauptstr. 1\r\nAdresse1=12345 Musterstadt\r\n' >>"$7"
  printf 'TelefonFaxEMail0=Tel.: 030 1234567\r\nTelefonFaxEMail1=Fax: 030 1234568\r\nTelefonFaxEMail2=E-Mail: juergen@example.org\r\n' >>"$7"
  printf 'Kartentyp=%s\r\nMitRueckseite=%s\r\n[Layout]\r\nName=%s\r\n' "$1" "$2" "$3" >>"$7"
  printf '[QRCode]\r\nAnzeigen=1\r\nInhalt=vCard\r\nSeite=%s\r\nEcke=%s\r\nGroesse=%s\r\n' "$4" "$5" "$6" >>"$7"
}

# Number of codes on the page image that hold the card's vCard; any other
# code counts as a failure.
decoded() {
  zbarimg -q --raw -Sdisable -Sqrcode.enable "$1" 2>/dev/null | tr -d '\r' >codes.txt
  awk 'BEGIN {RS = "END:VCARD\n"} /BEGIN:VCARD/ {
         fn = ""; tel = ""; mail = ""; n = split($0, line, "\n")
         for (i = 1; i <= n; i++) {
           if (line[i] ~ /^FN:/) fn = substr(line[i], 4)
           if (line[i] ~ /^TEL/ && tel == "") tel = substr(line[i], index(line[i], ":") + 1)
           if (line[i] ~ /^EMAIL/) mail = substr(line[i], index(line[i], ":") + 1)
         }
         if (fn == "J\303\274rgen M\303\274ller" && tel == "030 1234567" && mail == "juergen@example.org") good++
         else bad++
       } END {if (bad) print "wrong:" bad; else print good + 0}' codes.txt
}

# Bounding box "left top right bottom" in millimetres of the dark pixels in
# the page image between (x1, y1) and (x2, y2) millimetres.
box() {
  local x=$(awk -v v="$2" -v d=$dpi 'BEGIN {printf "%d", v / 25.4 * d}')
  local y=$(awk -v v="$3" -v d=$dpi 'BEGIN {printf "%d", v / 25.4 * d}')
  local w=$(awk -v a="$2" -v b="$4" -v d=$dpi 'BEGIN {printf "%d", (b - a) / 25.4 * d}')
  local h=$(awk -v a="$3" -v b="$5" -v d=$dpi 'BEGIN {printf "%d", (b - a) / 25.4 * d}')
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage -threshold 50% -format '%@' info: |
    awk -v x=$x -v y=$y -v d=$dpi -F'[x+]' '{printf "%.2f %.2f %.2f %.2f", ($3 + x) / d * 25.4, ($4 + y) / d * 25.4,
                                            ($3 + x + $1) / d * 25.4, ($4 + y + $2) / d * 25.4}'
}

# check_page NAME PDF PAGE CODES [LEFT TOP]...: the page holds CODES codes of
# the card, one $size mm square at each LEFT TOP in millimetres.
check_page() {
  local name=$1 pdf=$2 page=$3 expected=$4
  shift 4
  pdftoppm -r $dpi -png -f "$page" -l "$page" -singlefile "$pdf" page
  local found
  found=$(decoded page.png)
  [ "$found" = "$expected" ] || fail "$name page $page: $found codes holding the card instead of $expected"
  while [ $# -gt 0 ]; do
    local left=$1 top=$2
    shift 2
    local measured
    measured=$(box page.png $(awk -v l="$left" -v t="$top" -v s="$size" 'BEGIN {print l - 1, t - 1, l + s + 1, t + s + 1}'))
    awk -v m="$measured" -v l="$left" -v t="$top" -v s="$size" 'BEGIN {
          split(m, v, " "); e[1] = l; e[2] = t; e[3] = l + s; e[4] = t + s
          for (i = 1; i <= 4; i++) if (v[i] - e[i] > 0.3 || e[i] - v[i] > 0.3) exit 1 }' ||
      fail "$name page $page: code at $measured instead of $left $top $(awk -v l="$left" -v t="$top" -v s="$size" 'BEGIN {print l + s, t + s}')"
  done
}

no_raster() {
  [ "$(pdfimages -list "$1" | tail -n +3 | wc -l)" = 0 ] || fail "$1 holds raster pictures: $(pdfimages -list "$1")"
}

# print_card NAME Kartentyp MitRueckseite layout Seite Ecke Groesse: the card
# printed into NAME.pdf, whose codes must be vectors.
print_card() {
  local name=$1
  shift
  size=$6
  card "$@" "$name.tsx"
  "$tessaro" --print-to-pdf "$name.pdf" "$name.tsx" || fail "$name: exit $?"
  no_raster "$name.pdf"
}

# corners LEFT COLUMNS X Y: into slots, the top-left corner of the code in
# each slot, X and Y millimetres into it, for a sheet whose first column
# starts LEFT millimetres from the paper edge, columns 95 mm apart.
corners() {
  slots=()
  for row in 0 1 2 3 4; do
    for ((column = 0; column < $2; column++)); do
      slots+=($(($1 + 95 * column + $3)) $((10 + 55 * row + $4)))
    done
  done
}

# Two-sided standard card, the code 18 mm in the bottom right corner of the
# back: 5 mm from the right and bottom edge of each 85 x 55 mm slot.
print_card two 0 1 100 1 3 18
check_page "two-sided front" two.pdf 1 0
corners 15 2 $((85 - 5 - 18)) $((55 - 5 - 18))
check_page "two-sided back" two.pdf 2 10 "${slots[@]}"

# One-sided standard card with a portrait layout, 15 mm top left on the
# front: turned a quarter counter-clockwise onto the slot, the code lies
# 5 mm from its left and bottom edge.
print_card one 0 0 111 1 0 15
corners 15 2 5 $((55 - 5 - 15))
check_page "one-sided portrait" one.pdf 1 10 "${slots[@]}"

# Two-sided folding card, 20 mm top right on the back: the back face is the
# right half of each 170 x 55 mm slot.
print_card folding 1 1 100 1 1 20
check_page "folding front" folding.pdf 1 0
corners 20 1 $((170 - 5 - 20)) 5
check_page "folding back" folding.pdf 2 5 "${slots[@]}"

# A card file of an older version, without the section, prints no code.
card 0 1 100 1 3 18 old.tsx
sed -i '/^\[QRCode\]/,$d' old.tsx
"$tessaro" --print-to-pdf old.pdf old.tsx || fail "old card file: exit $?"
check_page "old card file back" old.pdf 2 0

# A code left off still prints the cards; standard error says why, on one
# line in the user's language, with the lines that do not fit.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=de_DE.UTF-8
left_off() {
  local name=$1 reason=$2
  "$tessaro" --print-to-pdf "$name.pdf" "$name.tsx" >stdout.txt 2>stderr.txt || fail "$name: exit $?"
  [ "$(wc -l <stderr.txt)" = 1 ] && grep -q "$reason" stderr.txt ||
    fail "$name: stderr is not the reason: $(cat stderr.txt)"
  check_page "$name" "$name.pdf" 1 0
  [ "$(positions "$name.pdf" Erika | wc -l)" -gt 0 ] || fail "$name: the cards were not printed"
}
# Three hundred phone lines are more than any code holds.
{
  printf '[Daten]\r\nName=Erika Beispiel\r\n'
  for i in $(seq 0 299); do printf 'TelefonFaxEMail%d=Tel: 030 %07d\r\n' "$i" "$i"; done
  printf '[QRCode]\r\nAnzeigen=1\r\nInhalt=vCard\r\nEcke=3\r\nGroesse=18\r\n'
} >many.tsx
left_off many 'zu umfangreich für einen QR-Code'
# On labels of 40 x 20 mm an 18 mm code would reach onto the next ones.
{
  printf '[Daten]\r\nName=Erika Beispiel\r\n[QRCode]\r\nAnzeigen=1\r\nInhalt=vCard\r\nEcke=3\r\nGroesse=18\r\n'
  printf '[Bogen]\r\nName=Etiketten\r\nPapierBreite=210\r\nPapierHoehe=297\r\nKarteBreite=40\r\nKarteHoehe=20\r\n'
  printf 'Spalten=5\r\nZeilen=14\r\nRandLinks=5\r\nRandOben=8.5\r\nAbstandX=40\r\nAbstandY=20\r\n'
} >labels.tsx
left_off labels 'größer als die Karte'

# A web address of 20 million characters in the settings is cut to the 2047
# a card file keeps, and costs nothing on every print.
mkdir -p "$XDG_CONFIG_HOME"/Ornak
{
  printf '[Daten]\nDefault\\VorNachname=Erika\nDefault\\QRCodeAnzeigen=1\nDefault\\QRCodeInhalt=URL\nDefault\\QRCodeURL='
  head -c 20000000 /dev/zero | tr '\0' w
  printf '\n'
} >"$XDG_CONFIG_HOME"/Ornak/Tessaro.conf
start=$(date +%s%N)
"$tessaro" --print-to-pdf url.pdf 2>stderr.txt || fail "20 million characters: exit $?"
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$elapsed" -lt 5000 ] || fail "20 million characters: printing took $elapsed ms"
rm "$XDG_CONFIG_HOME"/Ornak/Tessaro.conf

# The sample card of a first start with the code switched on, as the window
# saves it: corner, form and error correction chosen automatically. $1 is
# the layout, $2 the card file, $3 more lines for the phone field.
sample() {
  printf '[Daten]\r\nTitel=Dr. med.\r\nName=Heinz Mustermann\r\nBeruf0=Arzt f\xc3\xbcr Allgemeinmedizin\r\n' >"$2"
  printf 'Adresse0=Alleestr. 95\r\nAdresse1=98765 Musterdorf\r\nTelefonFaxEMail0=Tel: 0199/12345678\r\n' >>"$2"
  printf 'TelefonFaxEMail1=Fax: 0199/12345679\r\nTelefonFaxEMail2=E-Mail: heinz.mustermann@example.org\r\n%b' "${3:-}" >>"$2"
  printf '[Layout]\r\nName=%s\r\n[QRCode]\r\nAnzeigen=1\r\nInhalt=vCard\r\nSeite=0\r\nEcke=3\r\nGroesse=18\r\n' "$1" >>"$2"
  printf 'EckeAutomatisch=1\r\nForm=Automatisch\r\nFehlerkorrektur=Automatisch\r\n' >>"$2"
}

# Codes on the image $1 that hold the sample card's name, as "codes of all".
read_back() {
  zbarimg -q --xml -Sdisable -Sqrcode.enable "$1" 2>/dev/null |
    awk 'BEGIN {RS = "<symbol "} NR > 1 {all++; if (index($0, "Mustermann")) good++} END {print good + 0 " of " all + 0}'
}

# Corner squares of the first slot, 85 x 55 mm from 15 mm left and 10 mm
# down, where an 18 mm code can lie, in any layout turned any way.
squares=("20 15" "77 15" "20 42" "77 42")

# In every layout the code takes a corner the card's text leaves free, or,
# where the text leaves none, is left off with a word why: no word of the
# first card meets the square the reader finds the code in.
placed=0
for layout in 100 101 102 103 104 105 110 111 112 113 114 115 120 121 122; do
  sample $layout layout.tsx
  "$tessaro" --print-to-pdf layout.pdf layout.tsx 2>stderr.txt || fail "layout $layout: exit $?"
  found=
  for square in "${squares[@]}"; do
    set -- $square
    pdftoppm -r $dpi -png -singlefile -x $(($1 * dpi * 10 / 254 - 12)) -y $(($2 * dpi * 10 / 254 - 12)) \
      -W $((18 * dpi * 10 / 254 + 24)) -H $((18 * dpi * 10 / 254 + 24)) layout.pdf corner
    [ "$(read_back corner.png)" = "1 of 1" ] && found="$found$1 $2 "
  done
  if [ -s stderr.txt ]; then
    grep -q 'keine Ecke' stderr.txt && [ -z "$found" ] || fail "layout $layout: $(cat stderr.txt); code at $found"
    continue
  fi
  [ "$(echo $found | wc -w)" = 2 ] || fail "layout $layout: the first card holds codes at '$found'"
  placed=$((placed + 1))
  pdftotext -bbox -f 1 -l 1 layout.pdf words.html
  covered=$(awk -v s="$found" 'BEGIN {split(s, q, " ")}
      /<word / {match($0, /xMin="[^"]*" yMin="[^"]*" xMax="[^"]*" yMax="[^"]*"/); split(substr($0, RSTART, RLENGTH), v, "\"")
        l = v[2] / 72 * 25.4; t = v[4] / 72 * 25.4; r = v[6] / 72 * 25.4; b = v[8] / 72 * 25.4
        if (l < q[1] + 18 && r > q[1] && t < q[2] + 18 && b > q[2]) {sub(/<\/word>.*/, ""); sub(/.*>/, ""); printf "%s ", $0}}' words.html)
  [ -z "$covered" ] || fail "layout $layout: the code at $found covers: $covered"
done
echo "the code found a free corner in $placed of 15 layouts"

# All ten codes of a sheet at the default size read back at 300 dpi, of the
# sample card and of a contact whose vCard takes over 600 bytes.
sample 100 short.tsx
"$tessaro" --print-to-pdf short.pdf short.tsx || fail "sample card: exit $?"
pdftoppm -r $dpi -png -f 1 -l 1 -singlefile short.pdf page
[ "$(read_back page.png)" = "10 of 10" ] || fail "sample card: $(read_back page.png) codes read"
long='TelefonFaxEMail3=Mobil: 0170/98765432\r\nTelefonFaxEMail4=Web: www.praxis-mustermann-musterdorf.example.org\r\n'
long+='TelefonFaxEMail5=E-Mail: praxis@praxis-mustermann-musterdorf.example.org\r\n'
long+='TelefonFaxEMail6=Sprechzeiten Mo-Fr 8-12 Uhr und 15-18 Uhr, Mi nachmittags geschlossen\r\n'
long+='TelefonFaxEMail7=Fax: 0199/12345680\r\nBeruf1=Naturheilverfahren und Akupunktur\r\n'
long+='Firma=Gemeinschaftspraxis Dr. Mustermann und Kollegen\r\nAdresse2=Deutschland\r\n'
sample 100 long.tsx "$long"
"$tessaro" --print-to-pdf long.pdf long.tsx || fail "long contact: exit $?"
pdftoppm -r $dpi -png -f 1 -l 1 -singlefile long.pdf page
[ "$(read_back page.png)" = "10 of 10" ] || fail "long contact: $(read_back page.png) codes read"

finish
