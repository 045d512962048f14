# Shared by the scripts in tools/ (sourced, never run): the two build configurations and how to
# tell which of them this host can run.
#
# The deliverables are 32-bit x86 (i686) and are built on every host. The same sources are also
# built for x86_64, purely as a test vehicle for hosts whose kernel refuses 32-bit programs; that
# build is never shipped.
#
#   configuration  build folder                      toolchain file                  Wine loader
#   i686           $ALK_BUILD_DIR or build/          tools/mingw32-toolchain.cmake   /usr/lib/wine/wine
#   x86_64         $ALK_BUILD64_DIR or build64/      tools/mingw64-toolchain.cmake   /usr/lib/wine/wine64
#
# The i686 tests run where the kernel runs 32-bit programs and the 32-bit Wine (Debian's
# wine32:i386) is installed; tools/setup may fail to install it when the package mirror is out of
# step, and then leaves its reason in .cache/wine32-missing for tools/test's last lines.

alk_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# alk_build_dir ARCH: the absolute build folder of a configuration.
alk_build_dir() {
    case "$1" in
        i686)   realpath -m "${ALK_BUILD_DIR:-$alk_root/build}" ;;
        x86_64) realpath -m "${ALK_BUILD64_DIR:-$alk_root/build64}" ;;
        *)      echo "unknown configuration '$1' (i686 or x86_64)" >&2; return 2 ;;
    esac
}

# alk_toolchain ARCH: the CMake toolchain file of a configuration.
alk_toolchain() {
    case "$1" in
        i686)   echo "$alk_root/tools/mingw32-toolchain.cmake" ;;
        x86_64) echo "$alk_root/tools/mingw64-toolchain.cmake" ;;
    esac
}

# alk_host_runs_32bit: true when this kernel runs 32-bit x86 Linux programs, which Wine's 32-bit
# loader is. Found out by running one: a 96-byte static ELF32 program that only calls exit(42).
# Reading kernel configuration is not enough (/boot's config and /proc/sys/abi can look right on
# a kernel whose ia32 emulation is switched off); such a kernel answers "Exec format error".
#
# ALK_HOST_RUNS_32BIT=0 makes a host that runs them behave as one that refuses them (the scripts'
# own check uses it to walk the x86_64-only road on any host); 1 claims the opposite.
alk_host_runs_32bit() {
    case "${ALK_HOST_RUNS_32BIT:-}" in 0) return 1 ;; 1) return 0 ;; esac
    local probe rc=0
    probe=$(mktemp "${TMPDIR:-/tmp}/alk-probe32.XXXXXX")
    # ELF header (52 bytes), one loadable segment at 0x08048000 (32 bytes), then the code:
    # mov eax, 1 (exit); mov ebx, 42; int 0x80.
    local hex="7f454c46010101000000000000000000 02000300 01000000 54800408 34000000 00000000
        00000000 3400 2000 0100 0000 0000 0000
        01000000 00000000 00800408 00800408 60000000 60000000 05000000 00100000
        b801000000 bb2a000000 cd80"
    # shellcheck disable=SC2059 # the format is the byte string itself
    printf "$(echo $hex | tr -d ' \n' | sed 's/../\\x&/g')" >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" = 42 ]
}

# Wine's loaders and servers live in one folder (Debian: wine64 and wine32:i386 put them there).
# ALK_WINE_DIR points the scripts at another folder: their own check uses one that holds the
# 64-bit pair only, to stand for a host where the 32-bit Wine is not installed.
alk_wine_dir=${ALK_WINE_DIR:-/usr/lib/wine}
alk_wine32_note="$alk_root/.cache/wine32-missing"

# alk_wine_loader ARCH, alk_wine_server ARCH: the loader and the server of a configuration.
alk_wine_loader() {
    case "$1" in i686) echo "$alk_wine_dir/wine" ;; x86_64) echo "$alk_wine_dir/wine64" ;; esac
}
alk_wine_server() {
    case "$1" in i686) echo "$alk_wine_dir/wineserver32" ;; x86_64) echo "$alk_wine_dir/wineserver64" ;; esac
}
alk_wine_installed() {
    [ -x "$(alk_wine_loader "$1")" ] && [ -x "$(alk_wine_server "$1")" ]
}

# alk_i686_not_runnable: prints why this host cannot run the i686 tests and succeeds, or fails
# (printing nothing) when it can run them.
alk_i686_not_runnable() {
    if ! alk_host_runs_32bit; then
        echo "this kernel refuses 32-bit programs"
    elif ! alk_wine_installed i686; then
        if [ -s "$alk_wine32_note" ]; then
            echo "the 32-bit Wine is not installed: $(cat "$alk_wine32_note")"
        else
            echo "the 32-bit Wine is not installed ($(alk_wine_loader i686)); tools/setup installs it"
        fi
    else
        return 1
    fi
}

# alk_configure ARCH: configures ARCH's build folder (alk_build_dir), made when missing; on a
# failure CMake's output and the end of the script. Scripts configure every time they build (a
# second or two): new folders of sources and tests are picked up.
alk_configure() {
    local build
    build=$(alk_build_dir "$1")
    mkdir -p "$build"
    if ! cmake -S "$alk_root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$(alk_toolchain "$1")" >"$build/configure.log" 2>&1; then
        cat "$build/configure.log" >&2
        alk_fail "configuring the $1 build in $build failed (output above)"
    fi
}

# alk_png_from_xwd OUT.png: an xwd window dump on stdin as a PNG of the pixels alone.
# ImageMagick would write the time of the conversion into it (a tIME chunk, date:create and
# date:modify texts) and the window's name as a comment: two captures of one unchanged window
# would differ in their bytes, and every picture made again would show as changed.
alk_png_from_xwd() {
    convert xwd:- -strip "png:$1"
}

# alk_fail WHAT HINT: the one way a script of ours stops on a failure: what failed, what to do.
# Its exit code is 1, or alk_fail_status where a script sets one (tools/wine-env's commands that
# run a program keep 1 and the like for the program's own exit codes).
alk_fail() {
    printf '%s: %s\n' "$(basename "$0")" "$1" >&2
    [ -n "${2:-}" ] && printf '%s: %s\n' "$(basename "$0")" "$2" >&2
    exit "${alk_fail_status:-1}"
}

# alk_report_errors HINT: under `set -e`, a failing command would end the script without a word;
# this names the command and its line, and adds what to do.
alk_report_errors() {
    alk_error_hint=$1
    trap 'rc=$?; printf "%s: line %s: \"%s\" failed (exit %s)\n%s: %s\n" "$(basename "$0")" "$LINENO" \
        "$BASH_COMMAND" "$rc" "$(basename "$0")" "$alk_error_hint" >&2; exit ${alk_fail_status:-$rc}' ERR
}

# alk_usage: the running script's usage, which is its header: the comment lines after the first
# line, up to the first line that is not a comment, without their comment marks.
alk_usage() {
    awk 'NR == 1 { next } !/^#/ { exit } { sub(/^# ?/, ""); print }' "$0"
}

# alk_help ARGS...: called with the script's arguments before it does anything else. --help or -h
# among them prints the usage and ends the script at once, before anything is installed or built.
alk_help() {
    local argument
    for argument in "$@"; do
        case "$argument" in --help | -h) alk_usage; exit 0 ;; esac
    done
}

# alk_prefix_processes PREFIX PATTERN: the PIDs of the Wine processes whose command line matches
# PATTERN (pgrep's -f) and that run in the Wine prefix PREFIX (the prefix in a process's
# environment tells them apart). A Wine process runs one of Wine's own executables (wine, wine64,
# their preloaders, wineserver); a shell that merely exported the prefix does not.
alk_prefix_processes() {
    local pid exe
    for pid in $(pgrep -f "$2"); do
        exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
        case ${exe##*/} in wine*) ;; *) continue ;; esac
        # From a here-string: piped, grep -q may stop before tr has written all (SIGPIPE, pipefail).
        grep -qxF "WINEPREFIX=$1" <<<"$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ")" && echo "$pid"
    done
    return 0
}
