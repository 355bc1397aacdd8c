#!/usr/bin/env bash
# Installs what appdu needs (Debian 12, as root), builds it and starts the window.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build
exec build/ui/qt/appdu "$@"
