#!/usr/bin/env bash
# Builds everything and runs every test. Extra arguments go to cmake
# (for example -DKALVORA_SANITIZE=ON); BUILD_DIR picks the build folder.
source "$(dirname "$0")/tools/common.sh"
install_missing
configure_and_build -DKALVORA_APP=ON -DKALVORA_TESTS=ON "$@"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)"
