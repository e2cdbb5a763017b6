# Sourced by the scripts that start Windows programs: whether this host runs
# 32-bit programs, and which Wine loader runs which build. The loaders are
# named, never Debian's `wine` script, which starts the 32-bit one whenever
# it is installed, even on a kernel that cannot run it.

# True when this host runs 32-bit x86 programs. Some kernels run none and say
# so only in their log, so the sure answer is to start one: 96 bytes of a
# 32-bit Linux program that exits with 42 by int 0x80. OBRELLO_32BIT=0 says
# no and 1 yes without asking, so either path can be taken anywhere.
host_runs_32bit() {
    [ "${OBRELLO_32BIT:-}" != 0 ] || return 1
    [ "${OBRELLO_32BIT:-}" != 1 ] || return 0
    local dir status elf
    dir=$(mktemp -d)
    elf='\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0'
    elf+='\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10'
    elf+='\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\273\52\0\0\0\315\200'
    printf "$elf" >"$dir/exit42"
    chmod +x "$dir/exit42"
    status=0
    ("$dir/exit42") 2>/dev/null || status=$?
    rm -rf "$dir"
    [ "$status" -eq 42 ]
}

# True when the shipped 32-bit program can start here: the host runs 32-bit
# programs and 32-bit Wine is installed, which set-up goes without when the
# package mirror cannot supply it.
wine32_runs() { host_runs_32bit && [ -x /usr/lib/wine/wine ]; }

# Why the 32-bit build's programs are not run here, once wine32_runs has
# said no.
no_32bit_reason() {
    if [ "${OBRELLO_32BIT:-}" = 0 ]; then
        echo "OBRELLO_32BIT=0 is set"
    elif host_runs_32bit; then
        echo "32-bit Wine is not installed"
    else
        echo "this host runs no 32-bit programs"
    fi
}

# The Wine architecture that runs a build: win32 for the shipped program
# (build/windows), win64 for the 64-bit one (build/windows64).
wine_arch_of_build() {
    case "$1" in windows) echo win32 ;; windows64) echo win64 ;; *) return 1 ;; esac
}

# Exports what every Wine command for a prefix of that architecture needs:
# no debug output, no Mono or Gecko (they would ask to be downloaded), and
# that architecture's loader and server.
#   wine_environment win32|win64 PREFIX
wine_environment() {
    export WINEARCH=$1 WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    case "$1" in
    win32) WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 ;;
    win64) WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 ;;
    *) echo "wine_environment: no Wine architecture $1" >&2 && return 2 ;;
    esac
    export WINELOADER WINESERVER
}
