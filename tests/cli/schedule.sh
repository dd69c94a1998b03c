#!/usr/bin/env bash
# tessarin-cli --schedule: the column schedule of a current-code batch and of a project, as a DXF
# read back with ezdxf (check_schedule_dxf.py), as HTML and Word books, and the ways it is refused
# (exit 2 for a wrong request, 3 for a path that cannot be written, nothing designed or written).
# The cases keep the family of one middle-bar diameter (max_size_step 10, middle_bars_may_differ
# no), for which the expected cells below were worked out.
# Usage: schedule.sh CLI CASES WORK PYTHON CHECKER
set -u
cli="$1"
cases="$2"
work="$3"
python="$4"
checker="$5"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
holds() {  # FILE TEXT...
  local file="$1"
  shift
  for text in "$@"; do
    grep -qF -- "$text" "$file" || fail "$file lacks '$text'"
  done
}

# KZ5 has a negative b (rejected) and KZ4 no layout: exit 4 for the rejected row.
"$cli" --batch "$cases" --code 2010 --out batch.csv --schedule batch.dxf 2>err.txt
code=$?
[ "$code" -eq 4 ] || fail "batch: exit $code, expected 4: $(cat err.txt)"
"$python" "$checker" batch.dxf batch.csv || fail "batch.dxf does not match batch.csv"

# The same columns as a project, designed by --open: the same schedule.
"$cli" --batch "$cases" --code 2010 --save-project p.tsn --project 某办公楼 2>err.txt ||
  fail "save-project: $(cat err.txt)"
"$cli" --open p.tsn --out project.csv --schedule project.dxf 2>err.txt
code=$?
[ "$code" -eq 4 ] || fail "open: exit $code, expected 4: $(cat err.txt)"
"$python" "$checker" project.dxf project.csv || fail "project.dxf does not match project.csv"

# As books: the table with the grade letters, the notes with their reasons (KZ7's HPB300
# stirrups: A6@200).
"$cli" --batch "$cases" --code 2010 --project 某办公楼 --schedule book.html 2>err.txt >/dev/null
[ $? -eq 4 ] || fail "html: $(cat err.txt)"
holds book.html 柱表 某办公楼 全部纵筋 b边一侧中部筋 8D12 4C18 "1(4×5)" 无可用配筋 输入有误：
"$cli" --batch "$cases" --code 2010 --schedule book.docx 2>err.txt >/dev/null
[ $? -eq 4 ] || fail "docx: $(cat err.txt)"
"$python" - book.docx <<'PY' || fail "book.docx lacks the table"
import sys, zipfile
xml = zipfile.ZipFile(sys.argv[1]).read("word/document.xml").decode("utf-8")
missing = [t for t in ("全部纵筋", "h边一侧中部筋", "8D12", "A6@200", "无可用配筋") if t not in xml]
print("missing:", missing) if missing else None
sys.exit(1 if missing else 0)
PY

# Refused before anything is designed: no results are written.
refused() {  # EXIT STDERR-TEXT ARGS...
  local want="$1" text="$2"
  shift 2
  rm -f out.csv
  "$cli" "$@" 2>err.txt >/dev/null
  local got=$?
  [ "$got" -eq "$want" ] || fail "$*: exit $got, expected $want: $(cat err.txt)"
  grep -qF -- "$text" err.txt || fail "$*: stderr lacks '$text': $(cat err.txt)"
}
refused 3 "cannot write the column schedule" --batch "$cases" --code 2010 --out out.csv \
  --schedule missing/s.dxf
[ -e out.csv ] && fail "the results were written although the schedule cannot be"
mkdir -p folder.dxf
refused 3 "cannot write the column schedule" --batch "$cases" --code 2010 --schedule folder.dxf
refused 2 "the name ends in .dxf" --batch "$cases" --code 2010 --schedule s.txt
refused 2 "--schedule goes with --batch --code 2010" --batch "$cases" --schedule s.dxf
refused 2 "--schedule goes with --batch --code 2010" --code 2010 --schedule s.dxf
# The results' own file: the batch runs, the schedule is refused and the results stay.
"$cli" --batch "$cases" --code 2010 --out same.dxf --schedule same.dxf 2>err.txt >/dev/null
code=$?
[ "$code" -eq 3 ] || fail "schedule over the results: exit $code, expected 3"
holds err.txt "the same file as the results"
head -c 9 same.dxf | grep -q "^line,id," || fail "the results were overwritten by the schedule"

[ "$failures" -eq 0 ] || exit 1
echo "schedule: all checks passed"
