#!/usr/bin/env bash
# Installs every Debian package that building and testing Kestrel needs.
set -euo pipefail
packages=(
    cmake ninja-build g++ googletest libgtest-dev libgmock-dev libcli11-dev zlib1g-dev
    nlohmann-json3-dev python3
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev wine64 xvfb xauth fonts-wine fonts-liberation
    clang libclang-rt-14-dev clang-format valgrind
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
