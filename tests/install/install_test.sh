#!/usr/bin/env bash
# Installs the built library into a fresh prefix and builds a small C caller
# against it twice, from clean folders: once with pkg-config, once with the
# CMake package. Arguments: build folder, this folder, C compiler, extra C
# flags (the sanitizers of the build, if any).
set -euo pipefail
build_dir=$1 caller_dir=$2 cc=$3 extra_flags=${4:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

lib=$(find "$prefix" -name 'libzqvp4.so.*.*' -type f)
echo "installed: ${lib#"$prefix"/}"
if readelf -d "$lib" | grep -Eq 'R(UN)?PATH'; then
  echo "the installed library carries a run path" >&2
  exit 1
fi
if strings -a "$lib" | grep -qF "$build_dir"; then
  echo "the installed library names the build folder" >&2
  exit 1
fi
readelf -d "$lib" | grep -q 'SONAME.*libzqvp4\.so\.3'

libdir=$(dirname "$lib")

# pkg-config, from a folder that holds only the caller's source.
mkdir "$work/pc"
cp "$caller_dir/zqvp4_caller.c" "$work/pc/"
cd "$work/pc"
flags=$(PKG_CONFIG_PATH="$libdir/pkgconfig" pkg-config --cflags --libs zqvp4)
# shellcheck disable=SC2086
"$cc" -std=c99 -Wall -Wextra -Werror -pedantic $extra_flags zqvp4_caller.c $flags -o caller
LD_LIBRARY_PATH="$libdir" ./caller

# CMake package, from its own clean source and build folders.
mkdir "$work/cm"
cp "$caller_dir/zqvp4_caller.c" "$caller_dir/CMakeLists.txt" "$work/cm/"
cmake -S "$work/cm" -B "$work/cm/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_C_COMPILER="$cc" \
  -DCMAKE_C_FLAGS="-std=c99 -Wall -Wextra -Werror -pedantic $extra_flags" >/dev/null
cmake --build "$work/cm/build" >/dev/null
"$work/cm/build/zqvp4_caller"
