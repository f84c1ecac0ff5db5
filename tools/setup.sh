#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent and quiet.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libx11-dev libxext-dev libxfixes-dev libxtst-dev xvfb xauth x11-utils xdg-utils
  libsndfile1-dev ccache
  clang libclang-rt-14-dev
  juce-modules-source-data
  locales
  ardour
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
