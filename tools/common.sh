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

# alk_runnable_arches: the configurations whose tests this host can run, in running order.
alk_runnable_arches() {
    if alk_host_runs_32bit; then echo "i686 x86_64"; else echo "x86_64"; fi
}

# alk_fail WHAT HINT: the one way a script of ours stops on a failure: what failed, what to do.
alk_fail() {
    printf '%s: %s\n' "$(basename "$0")" "$1" >&2
    [ -n "${2:-}" ] && printf '%s: %s\n' "$(basename "$0")" "$2" >&2
    exit 1
}

# alk_report_errors HINT: under `set -e`, a failing command would end the script without a word;
# this names the command and its line, and adds what to do.
alk_report_errors() {
    alk_error_hint=$1
    trap 'rc=$?; printf "%s: line %s: \"%s\" failed (exit %s)\n%s: %s\n" "$(basename "$0")" "$LINENO" \
        "$BASH_COMMAND" "$rc" "$(basename "$0")" "$alk_error_hint" >&2; exit $rc' ERR
}
