#!/bin/bash
# The vCard the program writes of a card, read by an independent vCard
# reader that checks it against vCard 3.0: the names with particles and the
# card's own family name, the company, a web address whose separators are
# escaped and which comes back whole, and never an empty FN. A card without
# a name gives no vCard at all.
# Usage: vcard_valid.sh <tessaro> <build-dir>
# Exits with 77 (skipped) where the reader (python3-vobject) is missing.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
build_dir=$2
python=/usr/bin/python3
tool=$build_dir/cardvcard

[ -x "$tool" ] || fatal "no $tool"
"$python" -c 'import vobject' 2>/dev/null || skip "no vCard reader for Python (python3-vobject)"

# Name, Nachname, family and given name the vCard must name.
check_card() {
    local name=$1 nachname=$2 family=$3 given=$4 card=$work/card.tsx vcf=$work/card.vcf
    {
        printf '[Daten]\r\nName=%s\r\nTitel=Dr.\r\nFirma=Berg & Partner, Architekten\r\n' "$name"
        [ -z "$nachname" ] || printf 'Nachname=%s\r\n' "$nachname"
        printf 'Beruf0=Architekt\r\nAdresse0=1600 Main Street, Suite 400\r\nAdresse1=Springfield, IL 62701\r\nAdresse2=USA\r\n'
        printf 'TelefonFaxEMail0=Tel: 020 1234567\r\nTelefonFaxEMail1=Web: www.example.de/kontakt?a=1;b=2,3\r\n'
    } >"$card"
    "$tool" "$card" >"$vcf" || { fail "$name: no vCard written"; return; }
    "$python" - "$vcf" "$family" "$given" <<'PY' || fail "$name: the vCard is not what the card holds"
import re, sys, vobject
path, family, given = sys.argv[1:]
text = open(path, encoding="utf-8", newline="").read()
problems = []
card = vobject.readOne(text, validate=True)
if not card.fn.value.strip():
    problems.append("empty FN")
if (card.n.value.family, card.n.value.given) != (family, given):
    problems.append("N is %r;%r" % (card.n.value.family, card.n.value.given))
if card.org.value != ["Berg & Partner, Architekten"]:
    problems.append("ORG is %r" % card.org.value)
url = "https://www.example.de/kontakt?a=1;b=2,3"
if card.url.value != url:
    problems.append("URL reads back as %r" % card.url.value)
# Unfolded, the written URL escapes each separator of its value.
raw = [line for line in re.sub(r"\r\n[ \t]", "", text).split("\r\n") if line.upper().startswith("URL")]
if len(raw) != 1 or re.search(r"(?<!\\)[;,]", raw[0].split(":", 1)[1]):
    problems.append("URL line %r" % raw)
for problem in problems:
    print("vcard_valid:", problem, file=sys.stderr)
sys.exit(1 if problems else 0)
PY
}

check_card 'Jan van der Berg' '' 'van der Berg' 'Jan'
check_card 'María José García López' 'García López' 'García López' 'María José'
check_card 'Heinz Mustermann' '' 'Mustermann' 'Heinz'

# A card with a title and a company but no name writes nothing.
printf '[Daten]\r\nName=\r\nTitel=Dr.\r\nFirma=Muster AG\r\n' >"$work/nameless.tsx"
if "$tool" "$work/nameless.tsx" >"$work/nameless.vcf" 2>/dev/null; then
    fail "a card without a name gave a vCard"
fi
[ ! -s "$work/nameless.vcf" ] || fail "a card without a name wrote $(wc -c <"$work/nameless.vcf") bytes"
finish
