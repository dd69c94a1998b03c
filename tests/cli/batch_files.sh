#!/usr/bin/env bash
# tessarin-cli --batch against the files it is given: an output that is its input, a pipe of
# 10 MB, a stray character after a closing quote, a directory. Usage: batch_files.sh CLI WORK
set -u
cli="$1"
work="$2"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
# A batch that writes into its own input would grow it until the disk is full: bound both the
# files and the time of every run.
ulimit -f 102400
run() { timeout 120 "$cli" "$@"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
header="id,l0,b,h,M0x,M0y,N,ax,ay,concrete,steel"
row="A,6000,400,600,244,120,400,40,40,C30,HRB400"

# Over 64 KB, so that the old reader would have read its own output back.
{
  echo "$header"
  for i in $(seq 1 2000); do echo "K$i,6000,400,600,244,120,400,40,40,C30,HRB400"; done
} >cases.csv
cp cases.csv original.csv

run --batch cases.csv --out ./cases.csv 2>err.txt
code=$?
[ "$code" -eq 2 ] || fail "--out the input: exit $code, expected 2"
grep -q "./cases.csv is the same file as the input cases.csv" err.txt ||
  fail "--out the input: stderr: $(cat err.txt)"
cmp -s cases.csv original.csv || fail "--out the input changed the input"

run --batch cases.csv >>cases.csv 2>err.txt
code=$?
[ "$code" -eq 2 ] || fail "stdout appended to the input: exit $code, expected 2"
grep -q "stdout is the same file as the input cases.csv" err.txt ||
  fail "stdout appended to the input: stderr: $(cat err.txt)"
cmp -s cases.csv original.csv || fail "stdout appended to the input changed the input"

# A pipe of 10 MB: rows of about 1 KB, two combinations per id.
pad=$(printf 'x%.0s' $(seq 1 1000))
awk -v pad="$pad" -v header="$header" 'BEGIN {
  print header
  for (i = 0; i < 10240; i++) printf "C%d%s,6000,400,600,244,120,400,40,40,C30,HRB400\n", int(i / 2), pad
}' >pipe.csv
cat pipe.csv | run --batch /dev/stdin --out piped.csv 2>err.txt
code=$?
[ "$code" -eq 0 ] || fail "pipe: exit $code: $(cat err.txt)"
lines=$(wc -l <piped.csv)
[ "$lines" -eq $((1 + 10240 + 5120)) ] || fail "pipe: $lines result lines, expected 15361"

printf '%s\n"A" ,6000,400,600,244,120,400,40,40,C30,HRB400\n%s\n' "$header" "$row" >stray.csv
run --batch stray.csv --out stray-results.csv 2>err.txt
code=$?
[ "$code" -eq 4 ] || fail "stray character: exit $code, expected 4"
[ -s err.txt ] && fail "stray character: stderr: $(cat err.txt)"
grep -q '^2,A,.*rejected: unexpected character after a closing quote on line 2' stray-results.csv ||
  fail "stray character: the row is not rejected with its id"
grep -q '^3,A,.*,ok,' stray-results.csv || fail "stray character: the next row is not designed"

mkdir -p folder
run --batch folder 2>err.txt
code=$?
[ "$code" -eq 3 ] || fail "directory: exit $code, expected 3"
[ "$(cat err.txt)" = "tessarin-cli: cannot read folder: Is a directory" ] ||
  fail "directory: stderr: $(cat err.txt)"

[ "$failures" -eq 0 ]
