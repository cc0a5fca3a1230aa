#!/usr/bin/env bash
# Times `tarnik-cli check` (translation only) on a generated program of 30000
# lines that uses every block form. Not a test: it prints the time.
#   bench/translate_30000.sh [BUILD_DIR]     (default: build/)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-${TARNIK_BUILD:-$root/build}}"
cli="$build/bin/tarnik-cli"
[ -x "$cli" ] || { echo "no tarnik-cli in $build: build the tarnik-cli target first" >&2; exit 2; }

program="$(mktemp --suffix=.bas)"
trap 'rm -f "$program"' EXIT

# Thirty lines with every block form. One-line IFs, INPUT lists, ELSEIF and
# CASE add records, so this block alone would pass the 32767-record limit
# long before 30000 lines; it alternates with the plain block below.
rich_block() {
    cat <<BLOCK
$1 print "第 $1 段"   ' label, comment
if a = 1 then
    x = 1
elseif a = 2 then
    x = 2
else
    x = 3
end if
if x > 1 then y = 1 else y = 2
for i = 1 to 3
	if i = 2 then exit for
next
do while x < 3
    x = x + 1
    if x = 5 then exit do
loop
do
    x = x - 1
loop until x > 0
while y < 2
    y = y + 1
wend
select case x
case 1 to 5
    print x
case 7, 9
    print "七或九"
case else
    print "其他"
end select
input "a, b："; a, b
BLOCK
}

plain_block() {
    cat <<BLOCK
' 第 $1 段：累加
total = 0
for i = 1 to 10
    total = total + i
    if total > 20 then
        total = total - 20
    end if
next

k = 5
do while k > 0
    print k;
    k = k - 1
loop

while total < 50
    total = total * 2 + 1
wend

do
    total = total - 7
loop until total > 10

print "total ="; total


' 下一段


BLOCK
}

for ((n = 1; n <= 500; n++)); do
    rich_block $((2 * n - 1))
    plain_block $((2 * n))
done > "$program"

lines=$(wc -l < "$program")
start=$(date +%s%N)
"$cli" check "$program"
end=$(date +%s%N)
echo "tarnik-cli check, $lines lines: $(((end - start) / 1000000)) ms"
