#!/usr/bin/env bash
# Builds the library and the program, then starts kalvora (arguments are passed on).
source "$(dirname "$0")/tools/common.sh"
install_missing
configure_and_build -DKALVORA_APP=ON -DKALVORA_TESTS=OFF
if [ ! -x "$BUILD_DIR/bin/kalvora" ]; then
  echo "Built $BUILD_DIR/bin/libzqvp4.so (the program is not built yet)."
  exit 0
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Run it under a virtual display:  xvfb-run -a ./run.sh"
  echo "or without any window:  QT_QPA_PLATFORM=offscreen ./run.sh"
  exit 1
fi
exec "$BUILD_DIR/bin/kalvora" "$@"
