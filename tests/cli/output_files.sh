#!/usr/bin/env bash
# Every file tessarin-cli writes keeps the promises Result.txt keeps: no output replaces another
# output, the report or the input of the same run (refused with exit 2 before anything is
# written); Result-GB2010.txt is replaced, not followed, and a pipe of its name is refused; a
# failed stdout is exit 3; links planted where a batch writes are replaced, never written
# through; the results of a batch are put in place whole. Usage: output_files.sh CLI EXAMPLE WORK
set -u
cli="$1"
example="$2"
work="$3"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
run() { timeout 60 "$cli" "$@"; }
# expect CODE MESSAGE ARGS...: the exit code and a line of stderr.
expect() {
  local want="$1" message="$2"
  shift 2
  run "$@" >out.txt 2>err.txt
  local code=$?
  [ "$code" -eq "$want" ] || fail "$*: exit $code, expected $want: $(cat err.txt)"
  grep -qF -- "$message" err.txt || fail "$*: stderr lacks '$message': $(cat err.txt)"
}
echo "old report" >Result.txt
echo "old current-code report" >Result-GB2010.txt
keep() {  # FILE TEXT: the file still holds the text
  [ "$(cat "$1")" = "$2" ] || fail "$1 was changed: $(head -c 80 "$1")"
}

# 2. An output that is the report, or another output of the run: refused before anything.
expect 2 "the calculation book Result.txt is the same file as the report Result.txt" \
  --book Result.txt
expect 2 "the calculation book ./Result-GB2010.txt is the same file as the report Result-GB2010.txt" \
  --code 2010 --book ./Result-GB2010.txt
expect 2 "the drawing Result-GB2010.txt is the same file as the report Result-GB2010.txt" \
  --code 2010 --dxf Result-GB2010.txt
expect 2 "the calculation book x.html is the same file as the drawing x.html" \
  --code 2010 --dxf x.html --book x.html
ln Result-GB2010.txt hard.txt
expect 2 "the drawing hard.txt is the same file as the report Result-GB2010.txt" \
  --code 2010 --dxf hard.txt
rm hard.txt
keep Result.txt "old report"
keep Result-GB2010.txt "old current-code report"
[ ! -e x.html ] || fail "x.html was written"

# 7. /dev/stdout with stdout redirected to a file is that file: refused, the file kept.
for args in "--code 2010 --dxf /dev/stdout" "--code 2010 --book /dev/stdout" "--book /dev/stdout"; do
  echo "printed before" >printed.txt
  # shellcheck disable=SC2086
  run $args >>printed.txt 2>err.txt
  code=$?
  [ "$code" -eq 2 ] || fail "$args >>printed.txt: exit $code, expected 2"
  grep -q "/dev/stdout is the file stdout writes to" err.txt || fail "$args: $(cat err.txt)"
  keep printed.txt "printed before"
done
# On a pipe /dev/stdout is a stream: the drawing goes down it.
run --code 2010 --dxf /dev/stdout 2>err.txt | grep -q '^EOF' || fail "--dxf /dev/stdout on a pipe"

# 4. Result-GB2010.txt as Result.txt: a link replaced, a pipe refused at once, stdout failing.
rm Result-GB2010.txt
echo "outside" >outside.txt
ln -s outside.txt Result-GB2010.txt
run --code 2010 >/dev/null 2>err.txt || fail "--code 2010 with a link: $(cat err.txt)"
[ ! -L Result-GB2010.txt ] || fail "Result-GB2010.txt is still a link"
keep outside.txt "outside"
rm Result-GB2010.txt && mkfifo Result-GB2010.txt
expect 3 "Result-GB2010.txt: not a regular file but a named pipe (FIFO)" --code 2010
rm Result-GB2010.txt
run --code 2010 >/dev/full 2>err.txt
code=$?
[ "$code" -eq 3 ] && grep -q "cannot write stdout: No space left on device" err.txt ||
  fail "--code 2010 >/dev/full: exit $code: $(cat err.txt)"
run --code 2010 --json >/dev/full 2>err.txt
code=$?
[ "$code" -eq 3 ] || fail "--code 2010 --json >/dev/full: exit $code"

# 5. --book and --dxf targets that are links are replaced; the files they point at stay.
echo "outside too" >outside2.txt
ln -s outside.txt book.html
ln -s outside2.txt start.dxf
run --code 2010 --book book.html --dxf start.dxf >/dev/null 2>err.txt || fail "links: $(cat err.txt)"
[ ! -L book.html ] && [ ! -L start.dxf ] || fail "--book/--dxf links were followed"
keep outside.txt "outside"
keep outside2.txt "outside too"
# Two links to one file are two names of it: refused as one file, by identity.
ln -sf outside.txt book.html
ln -sf outside.txt start.dxf
expect 2 "the calculation book book.html is the same file as the drawing start.dxf" \
  --code 2010 --book book.html --dxf start.dxf

# 5. Links planted in the folders a batch writes into, pointing out of them.
for kind in 2002 2010; do
  code_args=""
  [ "$kind" = 2010 ] && code_args="--code 2010 --dxf drawings$kind"
  mkdir -p reports$kind books$kind drawings$kind
  ln -s ../outside.txt reports$kind/KZ1-2.txt
  ln -s ../outside.txt books$kind/KZ1-2.html
  ln -s ../outside.txt drawings$kind/KZ1-2.dxf
  # shellcheck disable=SC2086
  run --batch "$example" --out results$kind.csv --reports reports$kind --books books$kind \
    $code_args 2>err.txt || fail "$kind batch with planted links: $(cat err.txt)"
  [ ! -L reports$kind/KZ1-2.txt ] && [ ! -L books$kind/KZ1-2.html ] ||
    fail "$kind batch wrote through a planted link"
  [ "$kind" = 2002 ] || [ ! -L drawings$kind/KZ1-2.dxf ] || fail "2010 drawing link followed"
  keep outside.txt "outside"
done
# A pipe planted there is refused, never waited on.
mkdir -p piped && mkfifo piped/KZ1-2.dxf
expect 3 "piped/KZ1-2.dxf: not a regular file but a named pipe (FIFO)" \
  --batch "$example" --code 2010 --out piped.csv --dxf piped

# 2, 3. A batch's files never replace its results or its input (2002 and 2010).
cp "$example" cases.csv
for code_args in "" "--code 2010"; do
  mkdir -p rep books
  echo "earlier" >rep/KZ1-2.txt
  # shellcheck disable=SC2086
  expect 2 "the results rep/KZ1-2.txt stand in the report directory rep" \
    --batch cases.csv $code_args --out rep/KZ1-2.txt --reports rep
  keep rep/KZ1-2.txt "earlier"
  cp "$example" books/KZ1-2.html
  # shellcheck disable=SC2086
  expect 2 "the input books/KZ1-2.html stands in the book directory books" \
    --batch books/KZ1-2.html $code_args --out books.csv --books books
  cmp -s "$example" books/KZ1-2.html || fail "--books replaced the input ($code_args)"
  [ ! -e books.csv ] || fail "results written for a refused batch ($code_args)"
  # stdout redirected into a report's name: the report is refused when it comes.
  # shellcheck disable=SC2086
  run --batch cases.csv $code_args --reports rep >rep/KZ1-2.txt 2>err.txt
  code=$?
  [ "$code" -eq 2 ] || fail "stdout into rep/KZ1-2.txt ($code_args): exit $code"
  grep -q "the report rep/KZ1-2.txt is the same file as the results on stdout" err.txt ||
    fail "stdout into rep/KZ1-2.txt ($code_args): $(cat err.txt)"
  rm -rf rep books
done

# 6. Results written whole: a batch killed while writing them (here by the file-size limit, as
# a kill in its last phase) leaves the earlier results as they were, not a part of the new.
{
  echo "id,l0,b,h,M0x,M0y,N,ax,ay,concrete,steel"
  for i in $(seq 1 200); do echo "KZ$i,6000,400,600,244,120,400,40,40,C30,HRB400"; done
} >many.csv
for code_args in "" "--code 2010"; do
  echo "earlier results" >whole.csv
  # shellcheck disable=SC2086
  (ulimit -f 8; "$cli" --batch many.csv $code_args --out whole.csv >/dev/null; exit $?) 2>/dev/null
  code=$?
  [ "$code" -ne 0 ] || fail "the batch over the size limit ended well ($code_args)"
  keep whole.csv "earlier results"
  rm -f .whole.csv.tmp*
  # shellcheck disable=SC2086
  run --batch many.csv $code_args --out whole.csv 2>err.txt
  [ "$(head -c 5 whole.csv)" = "line," ] || fail "whole.csv not written ($code_args)"
done

# A folder that cannot be made says why as before: something else is in the way.
touch taken
expect 3 "cannot create the book directory taken: Not a directory" \
  --batch "$example" --out none.csv --books taken

[ "$failures" -eq 0 ] && echo "all output file cases passed"
exit "$failures"
