#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tallyfox needs, when
# they are missing, and the Chinese locale the Windows tests run under.
set -euo pipefail

packages=(cmake make g++ googletest libgtest-dev g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils fonts-wqy-microhei imagemagick locales
  libjpeg62-turbo  # Wine decodes the instructions picture with it
  fonts-wine  # Wine's own fonts (Tahoma, MS Sans Serif), which Windows programs expect
  clang libclang-rt-14-dev)  # the fuzz preset: clang and libFuzzer's runtime

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
