#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (run as root).
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-format
  libicu-dev libdbus-1-dev libgtest-dev libgmock-dev
  qt6-base-dev qt6-webengine-dev
  # running the window: a CJK font, so no text shows as boxes
  fonts-noto-cjk
  # tests: a virtual display, a session bus, window inspection
  xvfb xauth xdotool x11-utils dbus dbus-x11 python3
  # the window tests: X events from Python, screenshots, a throwaway TLS certificate
  python3-xlib imagemagick openssl
  # benchmark references
  ncdu hyperfine time
)

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps.sh: run as root (sudo) to install packages" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y "${packages[@]}"
