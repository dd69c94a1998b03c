#!/usr/bin/env bash
# End-to-end run of tessarin.exe under wine and a virtual X server, driven by the keyboard as an
# engineer would:
#   run_win_desktop_e2e.sh <tessarin.exe> <expected Result.txt, GBK with CR LF> [screenshot dir]
# In a working folder named 工程: types the eight values of the start-up design case into the
# fields with Enter between them (Enter moves on, it never calculates), Enter on the concrete list
# presses "计算", Enter in the scheme dialog confirms scheme 1 with 22 mm corner bars; then the
# Result.txt the program wrote must equal the expected bytes (the Linux report). F2 opens the
# section check, whose "导出计算书…" writes 计算书.html into 工程, and once more book.pdf; a second run with the list's last
# diameter (40 mm) must give startup_scheme1_d40.gbk (beside the expected file); Escape ends the
# program. With a screenshot directory it also opens the principle diagram and the About box
# (system menu, command 16) and saves a picture of every dialog there.
# Exit 77 (skipped) when wine64, Xvfb, xdotool or iconv is missing.
set -u

exe=$(realpath "$1")
expected=$(realpath "$2")
shots=${3:-}
[[ -n "$shots" ]] && mkdir -p "$shots" && shots=$(realpath "$shots")
here=$(dirname "$(realpath "$0")")

for tool in /usr/lib/wine/wine64 Xvfb xdotool xdpyinfo iconv; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

scratch=$(mktemp -d)
# shellcheck source=tests/win/wine_prefix.sh
source "$here/wine_prefix.sh"
cleanup() {
    close_wine_prefix
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -n "$shots" ]] && command -v import >/dev/null && import -window root "$shots/failure.png"
    exit 1
}

make_wine_prefix "$scratch" || exit 1

# A Chinese folder name: the program writes Result.txt into its current folder.
work="$scratch/工程"
mkdir -p "$work"
cd "$work" || exit 1

find_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Waits until the window has the keyboard focus.
focus_window() {
    local window=$1
    for _ in $(seq 50); do
        [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$window" ]] && return 0
        xdotool windowactivate "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null
        sleep 0.1
    done
    return 1
}

key() { xdotool key --delay 80 "$@"; sleep 0.2; }

shot() {  # window name
    [[ -n "$shots" ]] || return 0
    sleep 0.5
    import -window "$1" "$shots/$2.png" 2>/dev/null || import -window root "$shots/$2.png"
}

"$wine64" "$exe" </dev/null >/dev/null 2>&1 &
pid=$!

main=$(find_window 'beta1\.0')
[[ -n "$main" ]] || fail "the main dialog did not appear"
focus_window "$main" || fail "the main dialog did not get the keyboard focus"
sleep 1
shot "$main" win_main_dialog_start

# l0 b h M0x M0y N ax ay, each confirmed with Enter, which moves on and selects the next field
# (the first field's text is selected at the start).
for value in 6e3 400 600.0 244 120 4e2 40 40; do
    xdotool type --delay 80 "$value"
    key Return
done
sleep 0.5
[[ -e Result.txt ]] && fail "Enter in a field started a calculation"

# The focus is on the concrete list: Enter presses the default button "计算".
key Return

scheme=$(find_window '配筋方案')
[[ -n "$scheme" ]] || fail "the scheme dialog did not appear"
focus_window "$scheme" || fail "the scheme dialog did not get the keyboard focus"
sleep 0.5
shot "$scheme" win_scheme_dialog
# The focus is on OK: Enter confirms scheme 1 with the preselected 22 mm.
key Return

end_line=$(printf '%s' '============step2:布置钢筋计算完毕============' | iconv -f UTF-8 -t GBK)
for _ in $(seq 100); do
    [[ -f Result.txt ]] && grep -qF "$end_line" Result.txt && break
    sleep 0.1
done
[[ -f Result.txt ]] || fail "no Result.txt was written in $work"

if ! cmp "$expected" Result.txt; then
    diff <(iconv -f GBK -t UTF-8 Result.txt) <(iconv -f GBK -t UTF-8 "$expected") | head -20 >&2
    fail "Result.txt differs from the expected report"
fi
focus_window "$main" || fail "the main dialog did not get the focus back"
shot "$main" win_main_dialog

# F2: the section check of this design; its "导出计算书…" writes the book into 工程 under the
# suggested name 计算书.html (Enter in the save dialog).
key F2
check=$(find_window '截面验算')
[[ -n "$check" ]] || fail "the section check did not appear"
focus_window "$check" || fail "the section check did not get the keyboard focus"
shot "$check" win_section_check
key Tab space
save=$(find_window '导出计算书')
[[ -n "$save" ]] || fail "the save dialog of the calculation book did not appear"
focus_window "$save" || fail "the save dialog did not get the keyboard focus"
shot "$save" win_book_save_dialog
key Return
for _ in $(seq 50); do
    [[ -s 计算书.html ]] && break
    sleep 0.1
done
[[ -s 计算书.html ]] || fail "no calculation book 计算书.html in $work ($(ls | tr '\n' ' '))"
grep -q '0.933' 计算书.html || fail "the calculation book lacks the utilisation 0.933"
focus_window "$check" || fail "the section check did not get the focus back"
key Escape
focus_window "$main" || fail "the main dialog did not get the focus back after the section check"

# The book once more, as PDF (written by tessarin.exe itself): F2, "导出计算书…", a name typed
# with its suffix; read back with pdftotext where poppler is installed.
key F2
check=$(find_window '截面验算')
[[ -n "$check" ]] || fail "the section check did not appear again"
focus_window "$check" || fail "the section check did not get the keyboard focus again"
key Tab space
save=$(find_window '导出计算书')
[[ -n "$save" ]] || fail "the save dialog did not appear for the PDF book"
focus_window "$save" || fail "the save dialog did not get the keyboard focus for the PDF book"
xdotool type --delay 80 "book.pdf"
shot "$save" win_book_save_dialog_pdf
key Return
for _ in $(seq 50); do
    [[ -s book.pdf ]] && break
    sleep 0.1
done
[[ -s book.pdf ]] || fail "no PDF book book.pdf in $work ($(ls | tr '\n' ' '))"
[[ "$(head -c 5 book.pdf)" == "%PDF-" ]] || fail "book.pdf is no PDF"
if command -v pdftotext >/dev/null 2>&1; then
    pdf_text=$(pdftotext book.pdf -)
    for part in "工程名称" "设计依据" "第 1 页 共" "0.933"; do
        grep -qF "$part" <<<"$pdf_text" || fail "the PDF book lacks '$part'"
    done
fi
focus_window "$check" || fail "the section check did not get the focus back after the PDF book"
key Escape
focus_window "$main" || fail "the main dialog did not get the focus back after the PDF book"

# Again, with the last diameter of the scheme dialog's list (40 mm): Enter on the concrete list,
# then Tab from OK to the list, End, Enter.
key Return
scheme=$(find_window '配筋方案')
[[ -n "$scheme" ]] || fail "the scheme dialog did not appear for the second run"
focus_window "$scheme" || fail "the scheme dialog did not get the keyboard focus"
sleep 0.5
key Tab End
shot "$scheme" win_scheme_dialog_40
key Return
expected40="$(dirname "$expected")/startup_scheme1_d40.gbk"
for _ in $(seq 100); do
    cmp -s "$expected40" Result.txt && break
    sleep 0.1
done
cmp "$expected40" Result.txt || fail "the 40 mm run's Result.txt differs from startup_scheme1_d40.gbk"
focus_window "$main" || fail "the main dialog did not get the focus back after the second run"

if [[ -n "$shots" ]]; then
    # The focus is still on the concrete list: on to the steel list, "计算", "退出", "说明".
    key Tab Tab Tab Tab space
    diagram=$(find_window '原理示意图')
    [[ -n "$diagram" ]] || fail "the principle diagram did not appear"
    shot "$diagram" win_principle_diagram
    key Escape
    focus_window "$main" || fail "the main dialog did not get the focus back after the diagram"
    # The About entry of the system menu (Alt+Space opens it; the entry is the last one).
    key alt+space
    shot root win_system_menu
    key Up Return
    about=$(find_window '关于 Tessarin')
    [[ -n "$about" ]] || fail "the About box did not appear"
    shot "$about" win_about_dialog
    key Return
    focus_window "$main" || fail "the main dialog did not get the focus back after About"
fi

# Escape ends the program.
key Escape
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Escape did not end the program"
wait "$pid"
status=$?
[[ $status -eq 0 ]] || fail "the program ended with status $status"
echo "PASS: Result.txt written by tessarin.exe in 工程 matches the expected report byte for byte"
