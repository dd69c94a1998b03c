# shellcheck shell=bash
# Sourced by the Windows desktop tests: a fresh wine prefix whose Chinese UI faces (宋体/SimSun,
# NSimSun, Microsoft YaHei (UI), MS Shell Dlg (2)) are Noto Sans CJK SC, the Noto CJK files
# linked into its Fonts folder, and a virtual X server for the windows.
#   make_wine_prefix DIR     sets WINEPREFIX, WINEDEBUG, DISPLAY; starts Xvfb (1280x1024x24, or
#                            TESSARIN_XVFB_SCREEN) and wineserver
#   close_wine_prefix        ends what make_wine_prefix started
wine64=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
noto_dir=/usr/share/fonts/opentype/noto

make_wine_prefix() {
    export WINEPREFIX="$1/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    local display
    for display in $(seq 91 120); do
        [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]] && continue
        Xvfb ":$display" -screen 0 "${TESSARIN_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        xdpyinfo >/dev/null 2>&1 && break
        kill "$xvfb_pid" 2>/dev/null
        xvfb_pid=
    done
    [[ -n "${xvfb_pid:-}" ]] || { echo "FAIL: no virtual X server could be started" >&2; return 1; }
    "$wineserver" -p </dev/null >/dev/null 2>&1
    "$wine64" wineboot --init </dev/null >/dev/null 2>&1
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    ln -sf "$noto_dir/NotoSansCJK-Regular.ttc" "$WINEPREFIX/drive_c/windows/Fonts/NotoSansCJK-Regular.ttc"
    ln -sf "$noto_dir/NotoSansCJK-Bold.ttc" "$WINEPREFIX/drive_c/windows/Fonts/NotoSansCJK-Bold.ttc"
    local reg="$1/fonts.reg" face
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for face in 宋体 SimSun 新宋体 "Microsoft YaHei" "Microsoft YaHei UI" "MS Shell Dlg" "MS Shell Dlg 2"; do
            printf '"%s"="Noto Sans CJK SC"\r\n' "$face"
        done
        # The result box's fixed-width face.
        printf '"NSimSun"="Noto Sans Mono CJK SC"\r\n\r\n'
        # No window manager runs on the virtual screen: wine draws the captions itself.
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
        for face in 宋体 SimSun "Microsoft YaHei" "Microsoft YaHei UI" "MS Shell Dlg" "MS Shell Dlg 2"; do
            printf '"%s"="Noto Sans CJK SC"\r\n' "$face"
        done
        printf '"NSimSun"="Noto Sans Mono CJK SC"\r\n'
    } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg"
    "$wine64" regedit /S "$(winepath_of "$reg")" </dev/null >/dev/null 2>&1
}

# shellcheck disable=SC1003  # a backslash, not an escaped quote
winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

close_wine_prefix() {
    "$wineserver" -k >/dev/null 2>&1 || true
    [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=
}
