# Shared by run.sh and test.sh: installs the Debian packages that are missing,
# then configures and builds into $BUILD_DIR.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES="cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev
  qt6-base-dev librtaudio-dev librtmidi-dev libasound2-dev fonts-dejavu-core
  qt6-qpa-plugins sox xvfb xauth jackd1 python3 libfftw3-dev libkissfft-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev llvm-14"

install_missing() {
  local missing=()
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  # jackd1 asks about real-time priority; answer it without a terminal.
  echo "jackd1 jackd/tweak_rt_limits boolean false" | $sudo debconf-set-selections 2>/dev/null || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "$@" > "$BUILD_DIR.configure.log" 2>&1 \
    || { cat "$BUILD_DIR.configure.log"; exit 1; }
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}
