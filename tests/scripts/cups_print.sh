#!/usr/bin/env bash
# A two-sided job of two sheets through the program's real print path to a
# CUPS server of our own (own configuration, local socket, a queue printing
# into nothing): the spooler must receive the fronts and then the backs, each
# as one page with a copy count of 2, the texts in their slots. Skips when no
# CUPS server can be started here.
set -u
source "$(dirname "$0")/lib/harness.sh"
tessaro=$(realpath "$1")
for tool in cupsd lpadmin lpstat ipptool pdftotext pdfinfo; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || skip "$tool is not installed"
done
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)

use_private_home
use_no_display
mkdir -p "$work"/{state,cache,spool,tmp,cups}
chmod 755 "$work"
socket=$work/cups/cups.sock

cat >cups/cupsd.conf <<CONF
Listen $socket
LogLevel warn
Browsing Off
DefaultAuthType None
PreserveJobFiles Yes
PreserveJobHistory Yes
<Location />
Order allow,deny
Allow all
</Location>
<Policy default>
JobPrivateValues none
<Limit All>
Order allow,deny
Allow all
</Limit>
</Policy>
CONF
cat >cups/cups-files.conf <<CONF
ServerRoot $work/cups
StateDir $work/state
CacheDir $work/cache
RequestRoot $work/spool
TempDir $work/tmp
ErrorLog $work/error_log
AccessLog $work/access_log
PageLog $work/page_log
FileDevice Yes
Sandboxing Relaxed
CONF

background "$cupsd" -f -c "$work/cups/cupsd.conf" -s "$work/cups/cups-files.conf"
wait_until 10 test -S "$socket" || skip "cupsd did not start: $(cat error_log 2>/dev/null)"
export CUPS_SERVER=$socket
"$lpadmin" -h "$socket" -p Kartendrucker -E -v file:///dev/null -D "Visitenkarten" -L "Labor" ||
  skip "lpadmin could not add a queue"

printf '[Daten]\r\nName=Erika Beispiel\r\nMitRueckseite=1\r\nKartentyp=0\r\nBackText1_0=Rueckseitentext\r\n[Layout]\r\nName=100\r\n' >card.tsx
"$tessaro" --print-to-printer Kartendrucker --sheets 2 card.tsx || fail "print: exit $?"

# Wait until the server has dealt with both jobs.
no_pending_job() { [ -z "$(lpstat -h "$socket" -o Kartendrucker 2>/dev/null)" ]; }
wait_until 10 no_pending_job || fail "the server still holds jobs"

cat >jobs.test <<'TEST'
{
  OPERATION Get-Jobs
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR keyword which-jobs all
  ATTR keyword requested-attributes job-id,job-name,copies
  DISPLAY job-id
  DISPLAY job-name
  DISPLAY copies
}
TEST
uri="ipp://$(printf %s "$socket" | sed 's|/|%2F|g')/printers/Kartendrucker"
ipptool -c "$uri" jobs.test >jobs.csv 2>&1 || fail "ipptool: $(cat jobs.csv)"
jobs=$(grep -c '^[0-9]' jobs.csv)
[ "$jobs" = 2 ] || fail "$jobs jobs instead of 2: $(cat jobs.csv)"
grep '^[0-9]' jobs.csv | awk -F, '$2 != "Tessaro" || $3 != 2 {print; bad = 1} END {exit bad}' ||
  fail "jobs are not titled Tessaro with 2 copies: $(cat jobs.csv)"

# The reference: the same card through the PDF printer, fronts on page 1, backs on page 2.
"$tessaro" --print-to-pdf reference.pdf card.tsx || fail "reference: exit $?"

documents=$(ls spool/d*-001 2>/dev/null | sort)
[ "$(echo "$documents" | wc -w)" = 2 ] || fail "the spooler holds $(echo "$documents" | wc -w) documents instead of 2"
side=0
for document in $documents; do
  side=$((side + 1))
  [ "$(pdfinfo "$document" | awk '/^Pages:/ {print $2}')" = 1 ] || fail "job $side is not one page"
  if [ $side = 1 ]; then word=Erika other=Rueckseitentext; else word=Rueckseitentext other=Erika; fi
  positions "$document" $word 1 >"side$side.pos"
  [ "$(wc -l <"side$side.pos")" = 10 ] || fail "job $side: $(wc -l <"side$side.pos") of 10 cards"
  pdftotext "$document" - | grep -q "$other" && fail "job $side carries the other side's text"
  positions reference.pdf $word $side >"reference$side.pos"
  paste "side$side.pos" "reference$side.pos" |
    awk '{dx = $1 - $3; dy = $2 - $4; if (dx > 0.05 || dx < -0.05 || dy > 0.05 || dy < -0.05) {print; bad = 1}}
         END {exit bad}' || fail "job $side: texts are not where the PDF printer puts them"
done
# The fronts start their names 5 mm into each slot, in the columns at 15 and 110 mm.
awk '{col = (NR - 1) % 2; x = 15 + col * 95 + 5; if ($1 < x - 0.5 || $1 > x + 0.1) {print; bad = 1}} END {exit bad}' \
  side1.pos || fail "fronts not at their slots: $(tr '\n' ' ' <side1.pos)"

[ $status = 0 ] || cat error_log 2>/dev/null
finish
