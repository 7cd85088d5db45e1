#!/usr/bin/env bash
# Installs the build and test dependencies on Debian 12. Idempotent and quick when
# everything is already there.
set -euo pipefail

pkgs=(
  cmake ninja-build make pkg-config
  g++ clang
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine64
  xvfb xauth x11-utils
  doctest-dev libbenchmark-dev
  fonts-wqy-microhei imagemagick
  libxml2-utils
  perl
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  # No recommends: wine's recommends drag in 32-bit parts that break wine64 here.
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
