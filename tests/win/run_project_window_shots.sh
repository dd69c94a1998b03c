#!/usr/bin/env bash
# Screenshots of the project window at a screen scale, under wine and a virtual X server:
#   run_project_window_shots.sh <tessarin.exe> <tessarin-cli.exe> <cases.csv> <dpi> <out dir>
# The cases become a project (tessarin-cli --save-project) in a folder named 工程; tessarin.exe
# opens it, F5 designs all, Down chooses the first column, and the window is saved as
# project_window_<dpi>.png; Ctrl+Tab shows the section (project_section_<dpi>.png), once more the
# report (project_report_<dpi>.png); once more back to the column's data, and 工程 → 所选柱的配筋参数
# (Alt+P, C) opens the column's 配筋参数 (project_preferences_<dpi>.png). The scale is wine's LogPixels (96 = 100 %, 144 = 150 %, 192 = 200 %).
# Exit 77 (skipped) when wine64, Xvfb, xdotool or ImageMagick's import is missing.
set -u

exe=$(realpath "$1")
cli=$(realpath "$2")
cases=$(realpath "$3")
dpi=$4
mkdir -p "$5"
out=$(realpath "$5")
here=$(dirname "$(realpath "$0")")

for tool in /usr/lib/wine/wine64 Xvfb xdotool xdpyinfo import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
# At 200 % a screen of 2560 × 1600, as such scales are used on (1280 × 1024 at 100 % and 150 %).
if ((dpi >= 192)); then export TESSARIN_XVFB_SCREEN=2560x1600x24; fi
scratch=$(mktemp -d)
# shellcheck source=tests/win/wine_prefix.sh
source "$here/wine_prefix.sh"
trap 'close_wine_prefix; rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    import -window root "$out/failure_$dpi.png" 2>/dev/null
    exit 1
}
make_wine_prefix "$scratch" || exit 1

# The screen's scale, as Windows' display settings keep it.
"$wine64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1
"$wine64" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
sleep 1

work="$scratch/工程"
mkdir -p "$work"
cd "$work" || exit 1
"$wine64" "$cli" --batch "$(winepath_of "$cases")" --code 2010 --save-project 综合楼.tsn \
    --project 某综合楼 </dev/null >/dev/null 2>&1 || fail "tessarin-cli could not make the project"
[[ -s 综合楼.tsn ]] || fail "no project 综合楼.tsn"

"$wine64" "$exe" 综合楼.tsn </dev/null >/dev/null 2>&1 &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name 'Tessarin 柱设计' 2>/dev/null | head -n 1)
[[ -n "$window" ]] || fail "the project window did not appear"
sleep 2
xdotool windowactivate "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null
sleep 0.5
xdotool key --delay 100 F5
sleep 4
xdotool key --delay 100 Down
sleep 1
import -window "$window" "$out/project_window_$dpi.png" 2>/dev/null ||
    import -window root "$out/project_window_$dpi.png"
# The next pages of the tabs by the keyboard (Ctrl+Tab): the section, then the report.
xdotool key --delay 100 ctrl+Tab
sleep 1
import -window "$window" "$out/project_section_$dpi.png" 2>/dev/null ||
    import -window root "$out/project_section_$dpi.png"
xdotool key --delay 100 ctrl+Tab
sleep 1
import -window "$window" "$out/project_report_$dpi.png" 2>/dev/null ||
    import -window root "$out/project_report_$dpi.png"
xdotool key --delay 100 ctrl+Tab
sleep 1
xdotool key --delay 150 alt+p c
dialog=$(timeout 20 xdotool search --sync --onlyvisible --name '的配筋参数' 2>/dev/null | head -n 1)
[[ -n "$dialog" ]] || fail "the 配筋参数 dialog did not appear"
sleep 1
import -window root "$out/project_preferences_$dpi.png"
xdotool key --delay 100 Escape
sleep 0.5
kill "$pid" 2>/dev/null
echo "PASS: screenshots at $dpi dpi in $out"
