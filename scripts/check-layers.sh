#!/usr/bin/env bash
# Checks that the core's components point one way and keep the operating system at its edge:
# each folder under src/ may include only the components its row names (and itself), and only
# the folders named below may include Win32 or POSIX headers. tools/, tests/ and bench/ are free.
# Exits 1 and lists every offending line.
set -euo pipefail
cd "$(dirname "$0")/.."

# Component (folder under src/)   may include
declare -A may_include=(
    [os]=""
    [lexical]="os"
    [files]="lexical os"
    [sysedit]="lexical os"
    [ui]="lexical os"
    [script]="files sysedit ui lexical os"
    [host]="script files sysedit ui lexical os"
    [os/posix]="os"
    [os/win32]="os"
    [ui/win32]="os/win32 host script ui lexical os"
    [host/win32]="ui/win32 os/win32 host script files sysedit ui lexical os"
)
# Folders that may include operating-system headers.
win32_folders="os/win32 ui/win32 host/win32"
posix_folders="os/posix"

win32_headers='windows|windowsx|winbase|winuser|wingdi|winreg|winnt|winver|winnls|wininet|winsock2?|ws2tcpip|winioctl|shellapi|shlobj|shlwapi|shobjidl|commctrl|commdlg|ddeml|dde|objbase|ole2|oleauto|olectl|ocidl|psapi|tlhelp32|mmsystem|richedit|uxtheme|dwmapi|lmcons|tchar|io|direct|process|conio'
posix_headers='unistd|dirent|fcntl|pthread|dlfcn|termios|pwd|grp|poll|utime|glob|fnmatch|libgen|spawn|syslog|netdb|strings|sys/[^>]*|arpa/[^>]*|netinet/[^>]*'

failures=0
report() {
    echo "layering: $1" >&2
    failures=$((failures + 1))
}

# The component of a file: its folder under src/ (src/os/win32/x.cpp -> os/win32), in $folder.
component_of() {
    folder=${1#src/}
    folder=${folder%/*}
}

mapfile -t files < <(git ls-files -co --exclude-standard 'src/*.h' 'src/*.cpp')
for file in "${files[@]}"; do
    component_of "$file"
    [ -n "${may_include[$folder]+set}" ] || report "$file: src/$folder is no component; add it to the table in $0"
done

# Project includes: every one must name the file's own component or one its row allows.
while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=${rest#*\"}
    target=${target%%\"*}
    component_of "$file"
    component=${target%/*}
    [ "$component" = "$target" ] && continue # a header beside the file
    [ -n "${may_include[$folder]+set}" ] || continue
    case " $folder ${may_include[$folder]} " in
    *" $component "*) ;;
    *) report "$file:$line includes $target: src/$folder may include only ${may_include[$folder]:-itself}" ;;
    esac
done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}" || true)

# Operating-system headers only in the folders that implement the boundary.
check_os_headers() { # kind, folders allowed, header pattern, grep options
    local kind=$1 allowed=$2 pattern=$3 options=$4 hit
    while IFS= read -r hit; do
        component_of "${hit%%:*}"
        case " $allowed " in *" $folder "*) continue ;; esac
        report "${hit%%#*}a $kind header outside $allowed: ${hit#*#}"
    done < <(grep "$options" "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($pattern)\\.h>" "${files[@]}" || true)
}
check_os_headers Win32 "$win32_folders" "$win32_headers" -niE
check_os_headers POSIX "$posix_folders" "$posix_headers" -nE

if [ "$failures" != 0 ]; then
    echo "layering: $failures problems" >&2
    exit 1
fi
echo "layering: every include points down; OS headers only at the edge"
