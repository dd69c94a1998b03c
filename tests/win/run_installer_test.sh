#!/usr/bin/env bash
# The installer under wine, silently, as an IT department runs it:
#   run_installer_test.sh <tessarin-VERSION-setup.exe> <tessarin.exe> <tessarin-cli.exe> <expected Result.txt>
# 1. /S installs per user into %LOCALAPPDATA%\Programs\Tessarin: the two programs as built, the
#    readme and the uninstaller; the start-menu shortcut "双向偏心受压矩形柱 (2002)" starts
#    tessarin.exe in Documents\Tessarin; the Apps & features entry is there.
# 2. The installed tessarin-cli.exe writes the Linux report in a folder named 工程, and the
#    installed tessarin.exe, driven by the keyboard, does too (run_win_desktop_e2e.sh).
# 3. /S uninstalls: everything the installer put there is gone; a report the engineer left in
#    Documents\Tessarin stays.
# 4. /S /D=DIR installs into a folder that already holds another file; uninstalling leaves that
#    file and its folder.
# Exit 77 (skipped) when wine64 or Xvfb is missing.
set -u
if [[ ! -f "$1" ]]; then
    echo "SKIP: no installer $1 (tools/package windows builds it)"
    exit 77
fi
setup=$(realpath "$1")
built_gui=$(realpath "$2")
built_cli=$(realpath "$3")
expected=$(realpath "$4")
here=$(dirname "$(realpath "$0")")
for tool in /usr/lib/wine/wine64 Xvfb xdpyinfo; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
# shellcheck source=tests/win/wine_prefix.sh
source "$here/wine_prefix.sh"
trap 'close_wine_prefix; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
make_wine_prefix "$scratch" || exit 1

user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
programs="$user_dir/AppData/Local/Programs/Tessarin"
start_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
shortcut="$start_menu/双向偏心受压矩形柱 (2002).lnk"
project_shortcut="$start_menu/Tessarin 柱设计.lnk"
open_key='HKCU\Software\Classes\Tessarin.Project\shell\open\command'
documents="$user_dir/Documents/Tessarin"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessarin'

has_key() { "$wine64" reg query "$key" /v DisplayName </dev/null 2>/dev/null | grep -q 'Tessarin'; }
# The uninstaller copies itself away and runs from there: wait until it has done its work.
wait_gone() {
    for _ in $(seq 150); do
        [[ ! -e "$1" ]] && return 0
        sleep 0.2
    done
    return 1
}

# 1. Install silently.
"$wine64" "$setup" /S </dev/null >/dev/null 2>&1 || fail "the silent install ended with $?"
for file in tessarin.exe tessarin-cli.exe readme.txt uninstall.exe; do
    [[ -f "$programs/$file" ]] || fail "$file was not installed in $programs"
done
cmp -s "$programs/tessarin.exe" "$built_gui" || fail "the installed tessarin.exe is not the one built"
cmp -s "$programs/tessarin-cli.exe" "$built_cli" || fail "the installed tessarin-cli.exe is not the one built"
[[ -f "$shortcut" ]] || fail "no start-menu shortcut $shortcut"
strings -el "$shortcut" | grep -qi 'Documents\\Tessarin$' || fail "the shortcut does not start in Documents\\Tessarin"
strings -el "$shortcut" | grep -qi 'tessarin.exe' || fail "the shortcut does not start tessarin.exe"
[[ -d "$documents" ]] || fail "Documents\\Tessarin was not made"
has_key || fail "no Apps & features entry $key"
# The project window's entry and the .tsn type.
[[ -f "$project_shortcut" ]] || fail "no start-menu shortcut $project_shortcut"
strings -el "$project_shortcut" | grep -q -- '--project' || fail "the project shortcut does not pass --project"
"$wine64" reg query 'HKCU\Software\Classes\.tsn' </dev/null 2>/dev/null | grep -q 'Tessarin.Project' ||
    fail ".tsn is not registered"
"$wine64" reg query "$open_key" </dev/null 2>/dev/null | grep -q 'tessarin.exe" "%1"' ||
    fail "the .tsn type does not open tessarin.exe"

# 2. The installed programs in a folder named 工程.
mkdir -p "$scratch/工程"
(cd "$scratch/工程" && "$wine64" "$programs/tessarin-cli.exe" </dev/null >/dev/null 2>&1) ||
    fail "the installed tessarin-cli.exe failed in 工程"
cmp "$expected" "$scratch/工程/Result.txt" || fail "tessarin-cli.exe in 工程: Result.txt differs"
"$here/run_win_desktop_e2e.sh" "$programs/tessarin.exe" "$expected" ||
    fail "the installed tessarin.exe did not write the expected report"

# 3. Uninstall silently; the engineer's report stays.
cp "$expected" "$documents/Result.txt"
"$wine64" "$programs/uninstall.exe" /S </dev/null >/dev/null 2>&1
wait_gone "$programs" || fail "the uninstaller left $(ls "$programs" | tr '\n' ' ')"
[[ ! -e "$shortcut" ]] || fail "the uninstaller left the shortcut"
[[ ! -e "$project_shortcut" ]] || fail "the uninstaller left the project shortcut"
"$wine64" reg query "$open_key" </dev/null >/dev/null 2>&1 && fail "the uninstaller left the .tsn type"
has_key && fail "the uninstaller left the Apps & features entry"
[[ -f "$documents/Result.txt" ]] || fail "the uninstaller removed the engineer's report"

# 4. /D= into a folder that holds another file.
other="$WINEPREFIX/drive_c/工具/Tessarin"
mkdir -p "$other"
echo keep > "$other/notes.txt"
"$wine64" "$setup" /S '/D=C:\工具\Tessarin' </dev/null >/dev/null 2>&1 || fail "the install with /D= ended with $?"
[[ -f "$other/tessarin.exe" && -f "$other/uninstall.exe" ]] || fail "/D= did not install into $other"
[[ ! -e "$programs" ]] || fail "/D= installed into the default folder as well"
"$wine64" "$other/uninstall.exe" /S </dev/null >/dev/null 2>&1
wait_gone "$other/uninstall.exe" || fail "the uninstaller left $other/uninstall.exe"
[[ ! -e "$other/tessarin.exe" && -f "$other/notes.txt" ]] || fail "the uninstaller removed too much or too little in $other"
echo "PASS: silent install, the installed programs' reports, silent uninstall, /D="
