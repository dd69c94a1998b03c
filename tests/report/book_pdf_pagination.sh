#!/usr/bin/env bash
# The PDF book's pagination, whatever falls where: books of a title page, then n lines of text,
# then a heading with its text, a picture with its caption and a long formula, for a run of n so
# that each of them meets the foot of a page somewhere in the run. No page may end on a heading,
# every page has its running header and its footer (tests/report/check_book_pdf.py).
#   book_pdf_pagination.sh TESSARIN_BOOK CHECKER
set -euo pipefail
book="$1"
checker="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for n in $(seq 30 2 66); do
  {
    printf 'T\t分页检查\n'
    printf 'V\t示例工程\t\tKZ1\t检查\tTessarin\t2026-12-09\t\t\t\t《混凝土结构设计规范》GB 50010-2010（2015年版）\n'
    printf 'H\t1\t1 正文\n'
    for i in $(seq 1 "$n"); do printf 'P\t第 %d 行正文，用来把后面的标题推到页面底部附近。\n' "$i"; done
    printf 'H\t2\t1.1 截面配筋图\n'
    printf 'G\t80\t60\t截面配筋图\n'
    printf 'Q\t5\t5\t70\t50\t#000000\t\t0.35\n'
    printf 'P\t图后的正文。\n'
    printf 'F\t弯矩增大系数\tηns = 1 + (lc/D)^2·ζc/(1300(M2/N + ea)/h0)\t1 + (6000/600)^2 × 1.000 / (1300 × (610.00 + 20.00) / 558.0)\t1.0681\n'
    printf 'H\t1\t2 结论\n'
    printf 'P\t结论：满足。\n'
  } >"$work/book.txt"
  QT_QPA_PLATFORM=offscreen "$book" <"$work/book.txt" >"$work/book.pdf"
  if ! python3 "$checker" "$work/book.pdf" 示例工程 KZ1; then
    echo "FAIL: the book with $n lines of text" >&2
    exit 1
  fi
done
echo "pagination: every book of the run kept its headings and had its header and footer"
