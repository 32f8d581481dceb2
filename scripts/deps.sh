#!/usr/bin/env bash
# Installs what building and testing need, when it is missing (Debian/Ubuntu).
set -euo pipefail
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake ninja-build g++ googletest libgtest-dev mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 \
           xvfb xauth x11-utils imagemagick liblnk-utils python3 locales fonts-dejavu-core fonts-wine fonts-liberation \
           clang libclang-rt-14-dev; do
  have "$pkg" || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
# The Windows tests run with Italian settings; Wine needs the Unix locale to
# exist to name files outside ASCII.
if ! locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd localedef -i it_IT -c -f UTF-8 it_IT.UTF-8
fi
