#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run need.
# Does nothing (and needs no network) when every package is already there.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # libraries
  libsdl2-dev libepoxy-dev glslang-dev spirv-tools libspirv-cross-c-shared-dev
  libtinyxml2-dev libutfcpp-dev libdevil-dev libogg-dev libtheora-dev libvorbis-dev
  zlib1g-dev libpng-dev libjpeg-dev
  # an X protocol error must not end the program: our own Xlib error handler
  libx11-dev
  # whole-buffer inflate for the layered-image decoder
  libdeflate-dev
  # glslang's CMake package refers to glslangValidator, which this one ships
  glslang-tools
  # tests
  libgtest-dev libgmock-dev libbenchmark-dev
  # the layered-image decoder is cross-checked against this tool's own reader
  imagemagick
  # headless OpenGL: llvmpipe and EGL (usually pulled in; listed so a minimal image cannot miss them)
  libgl1-mesa-dri libegl-mesa0
  # running without a display
  xvfb xauth
  # the window manager of the full-screen switch test
  openbox
  # the start-up timer (tools/frame_log) taps through the logos with it
  xdotool
  # the content generator is Python 3 (standard library and tomllib)
  python3
  # it draws every picture and renders the bitmap fonts with Pillow
  python3-pil
  # and shows its progress on a terminal with tqdm
  python3-tqdm
  # the bitmap fonts are rendered from these faces
  fonts-dejavu-core
  # sanitizer and fuzz build: clang alone brings neither the runtimes nor llvm-symbolizer
  clang libclang-rt-14-dev llvm
)

# One dpkg-query for the whole list: it answers for installed packages only.
installed=" $(dpkg-query -W -f='${Package}:${db:Status-Status} ' "${packages[@]}" 2>/dev/null || true) "
missing=()
for p in "${packages[@]}"; do
  [[ "$installed" == *" $p:installed "* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup-deps: installing ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo=(sudo -n)
else
  echo "setup-deps: root or password-less sudo is needed; run:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
