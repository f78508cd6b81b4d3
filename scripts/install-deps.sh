#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test Lumorra.
set -euo pipefail
PKGS=(cmake ninja-build g++ pkg-config
      qt6-base-dev qt6-multimedia-dev qt6-webengine-dev libgl-dev
      libcpp-httplib-dev libcurl4-openssl-dev libyaml-cpp-dev qt6-httpserver-dev qt6-websockets-dev
      fonts-wqy-microhei gstreamer1.0-plugins-good gstreamer1.0-libav
      xvfb xauth imagemagick python3-aiosmtpd openssl desktop-file-utils)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
