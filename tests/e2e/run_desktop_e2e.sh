#!/usr/bin/env bash
# End-to-end run of the real desktop program under a virtual X server:
#   run_desktop_e2e.sh <tessarin binary> <expected report, UTF-8 with LF line ends> [screenshot dir]
# Types the start-up design case into the fields (in other spellings: 6e3, 600.0, 4e2) with
# Enter between them, presses "计算", picks the 40 mm corner bar in the scheme dialog and confirms
# it with Enter, then compares the Result.txt the program wrote with the expected bytes (the
# expected text converted to GBK with CR LF line ends), and ends the program with Escape.
# Exit 77 (skipped) when xvfb-run, xdotool or iconv is missing.
set -u

binary=$(realpath "$1")
expected=$(realpath "$2")
shots=${3:-}

if [[ -z "${TESSARIN_E2E_INNER:-}" ]]; then
    for tool in xvfb-run xdotool iconv; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit 77
        fi
    done
    export TESSARIN_E2E_INNER=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8

fail() {
    echo "FAIL: $*" >&2
    [[ -n "${pid:-}" ]] && kill "$pid" 2>/dev/null
    exit 1
}

# The window with this title, once it is mapped; empty after 20 seconds.
find_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Waits until the window has the keyboard focus.
focus_window() {
    local window=$1
    for _ in $(seq 50); do
        [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$window" ]] && return 0
        xdotool windowfocus "$window" 2>/dev/null
        sleep 0.1
    done
    return 1
}

key() { xdotool key --delay 60 "$@"; sleep 0.1; }

"$binary" &
pid=$!

main=$(find_window 'beta1\.0')
[[ -n "$main" ]] || fail "the main dialog did not appear"
focus_window "$main" || fail "the main dialog did not get the keyboard focus"
sleep 0.5

# l0 b h M0x M0y N ax ay, each confirmed with Enter, which moves on and selects the next field.
for value in 6e3 400 600.0 244 120 4e2 40 40; do
    key ctrl+a
    xdotool type --delay 60 "$value"
    key Return
done
[[ -e Result.txt ]] && fail "Enter in a field started a calculation"

# Now on the concrete list: on to the steel list, on to "计算", and press it.
key Tab Tab space

scheme=$(find_window '配筋方案')
[[ -n "$scheme" ]] || fail "the scheme dialog did not appear"
focus_window "$scheme" || fail "the scheme dialog did not get the keyboard focus"
sleep 0.3
# The focus is on OK: on to the diameter list, the last entry (40 mm), Enter confirms.
key Tab End Return

end_line=$(printf '%s' '============step2:布置钢筋计算完毕============' | iconv -f UTF-8 -t GBK)
for _ in $(seq 100); do
    [[ -f Result.txt ]] && grep -qF "$end_line" Result.txt && break
    sleep 0.1
done
[[ -f Result.txt ]] || fail "no Result.txt was written"
sleep 0.5

if [[ -n "$shots" ]]; then
    mkdir -p "$shots"
    command -v import >/dev/null && import -window root "$shots/tessarin_under_xvfb.png"
fi

sed 's/$/\r/' "$expected" | iconv -f UTF-8 -t GBK > expected.bin || fail "cannot convert the expected text"
if ! cmp expected.bin Result.txt; then
    diff <(iconv -f GBK -t UTF-8 Result.txt) <(iconv -f GBK -t UTF-8 expected.bin) | head -20 >&2
    fail "Result.txt differs from the expected report"
fi

# Escape ends the program.
focus_window "$main" || fail "the main dialog did not get the focus back"
key Escape
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    fail "Escape did not end the program"
fi
wait "$pid"
status=$?
[[ $status -eq 0 ]] || fail "the program ended with status $status"
echo "PASS: Result.txt matches the expected report byte for byte"
