#!/usr/bin/env bash
# Installs what the build and tests need (Debian 12, as root), builds, and runs
# every test: the whole suite under a virtual display and a session bus, then
# the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
if [ "${APPDU_SKIP_INSTALL:-}" != 1 ]; then
  scripts/install-deps.sh
fi

scripts/build.sh build
(cd build && dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2)

scripts/build.sh build-sanitize -DAPPDU_SANITIZE=ON -DAPPDU_BUILD_GUI=OFF
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  dbus-run-session -- ctest -L core --output-on-failure -j2)
