#!/usr/bin/env bash
# tessarin-cli --batch with its per-column files: the current-code batch with its reports and
# drawings, the books of a 2002 batch, and directories that cannot be made (exit 3, nothing
# written). Usage: batch_outputs.sh CLI EXAMPLE WORK
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
expect_files() {  # DIR "names..."
  local got
  got="$(ls "$1" 2>/dev/null | tr '\n' ' ')"
  [ "$got" = "$2" ] || fail "$1 holds '$got', expected '$2'"
}

# The example's three columns (lines 2-4, 5-6, 7) by the current code.
"$cli" --batch "$example" --code 2010 --out code.csv --reports reports --dxf drawings 2>err.txt
code=$?
[ "$code" -eq 0 ] || fail "current-code batch: exit $code, expected 0: $(cat err.txt)"
[ "$(wc -l <code.csv)" -eq 10 ] || fail "code.csv: $(wc -l <code.csv) lines, expected 1 + 6 + 3"
[ "$(grep -c ',layout,.*,designed,' code.csv)" -eq 3 ] || fail "code.csv: not three designed layouts"
expect_files reports "KZ1-2.txt KZ2-5.txt KZ3-7.txt "
expect_files drawings "KZ1-2.dxf KZ2-5.dxf KZ3-7.dxf "
[ ! -e Result.txt ] && [ ! -e Result-GB2010.txt ] || fail "a batch wrote a report file of its own"

# No layout for a grade 3 column at N / (fc A) = 2.33: exit 5, the reason on the layout row.
printf 'id,l0,b,h,M0x,M0y,N,concrete,steel,seismic\nKZ9,3000,300,300,50,50,3000,C30,HRB400,3\n' >nolayout.csv
"$cli" --batch nolayout.csv --code 2010 --out nolayout-results.csv --dxf none 2>/dev/null
code=$?
[ "$code" -eq 5 ] || fail "no layout: exit $code, expected 5"
grep -q '轴压比 μN = N/(fcA) = 2.331' nolayout-results.csv || fail "no layout: the reason is not on the layout row"
expect_files none ""

# A book per id of a 2002 batch, with its combinations in file order.
"$cli" --batch "$example" --out books.csv --books books --project 'P' 2>err.txt
code=$?
[ "$code" -eq 0 ] || fail "--books: exit $code, expected 0: $(cat err.txt)"
expect_files books "KZ1-2.html KZ2-5.html KZ3-7.html "
grep -q '荷载组合 3（输入第 4 行）' books/KZ1-2.html || fail "KZ1's book lacks its third combination"

# The current-code books: one per column, its layout in the notation.
"$cli" --batch "$example" --code 2010 --out code-books.csv --books code-books 2>err.txt
code=$?
[ "$code" -eq 0 ] || fail "--code 2010 --books: exit $code, expected 0: $(cat err.txt)"
expect_files code-books "KZ1-2.html KZ2-5.html KZ3-7.html "
# The book names the layout the results give KZ1 (the notation has no comma).
kz1=$(grep '^2,KZ1,layout' code-books.csv | grep -o '角筋 [^,]*')
[ -n "$kz1" ] || fail "the results give KZ1 no layout"
grep -qF "$kz1" code-books/KZ1-2.html || fail "KZ1's current-code book lacks its layout $kz1"

# Word books with --book-format docx, from both editions: ZIP packages whose every entry is whole.
for edition in "" "--code 2010"; do
  rm -rf word-books
  # shellcheck disable=SC2086
  "$cli" --batch "$example" $edition --out word.csv --books word-books --book-format docx 2>err.txt
  code=$?
  [ "$code" -eq 0 ] || fail "$edition --book-format docx: exit $code: $(cat err.txt)"
  expect_files word-books "KZ1-2.docx KZ2-5.docx KZ3-7.docx "
  for book in word-books/*.docx; do
    [ "$(head -c 4 "$book" | od -An -tx1 | tr -d ' ')" = "504b0304" ] || fail "$book is no ZIP file"
    if command -v unzip >/dev/null; then
      unzip -tq "$book" >/dev/null || fail "$book: unzip -t finds a damaged entry"
      unzip -p "$book" word/document.xml | grep -q 'KZ1\|KZ2\|KZ3' || fail "$book: no column id"
    fi
  done
done

# PDF books need tessarin-book beside the program: without it the batch is refused before any
# row runs (exit 3, no results, no directory).
mkdir -p lonely && cp "$cli" lonely/tessarin-cli
rm -rf pdf-books none.csv
lonely/tessarin-cli --batch "$example" --out none.csv --books pdf-books --book-format pdf 2>err.txt
code=$?
[ "$code" -eq 3 ] || fail "PDF books without tessarin-book: exit $code, expected 3"
grep -q "cannot write the calculation books: a PDF book needs tessarin-book" err.txt ||
  fail "PDF books without tessarin-book: $(cat err.txt)"
[ ! -e none.csv ] && [ ! -e pdf-books ] || fail "PDF books without tessarin-book: something was written"

# Directories that cannot be made: exit 3 with the name and the reason, no results written.
touch taken
for args in "--books taken" "--code 2010 --dxf taken" "--code 2010 --reports taken" \
            "--books /dev/full"; do
  rm -f none.csv
  # shellcheck disable=SC2086
  "$cli" --batch "$example" --out none.csv $args 2>err.txt
  code=$?
  [ "$code" -eq 3 ] || fail "$args: exit $code, expected 3"
  grep -q "cannot create the .* directory ${args##* }: " err.txt || fail "$args: $(cat err.txt)"
  [ ! -e none.csv ] || fail "$args: the results were written"
done

# A drawing that cannot be written stops the current-code batch there; the results of an earlier
# run stay as they were.
mkdir -p blocked/KZ1-2.dxf
echo "earlier results" >kept.csv
"$cli" --batch "$example" --code 2010 --out kept.csv --dxf blocked 2>err.txt
code=$?
[ "$code" -eq 3 ] || fail "blocked drawing: exit $code, expected 3"
grep -q "blocked/KZ1-2.dxf" err.txt || fail "blocked drawing: $(cat err.txt)"
[ "$(cat kept.csv)" = "earlier results" ] || fail "blocked drawing: the earlier results changed"

[ "$failures" -eq 0 ] && echo "all batch output cases passed"
exit "$failures"
