#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Ventora need. Does nothing when
# they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  qt6-translations-l10n          # Qt's own Chinese: standard buttons read 确定
  fonts-wqy-microhei             # a CJK face, so Chinese never renders as boxes
  libgtest-dev libbenchmark-dev
  libsimdjson-dev                # ventora-calc's requests and the case files are read with simdjson
  qt6-base-private-dev           # Qt's zip writer (a private header), for the book's ODT
  hyperfine python3              # bench/tool_throughput.sh: timing, and the Python batch it compares with
  python3-fluids                 # bench/tool_throughput.sh: the API 520 sizing loop a user would write instead
  clang-14 libclang-rt-14-dev    # libFuzzer and the sanitizer runtime
  xvfb xauth                     # headless runs of the real windows
  poppler-utils unzip            # the book's tests read its PDF (pdftotext) and ODT (content.xml)
  desktop-file-utils appstream   # validators of the desktop entry and the AppStream metainfo
  shared-mime-info libxml2-utils # update-mime-database and xmllint: the case files' MIME type
  dpkg-dev                       # dpkg-shlibdeps, for the Depends of the .deb that cpack builds
  lintian help2man               # the .deb checked by lintian; the tools' manual pages from --help
  python3-debian                 # reads the package's machine-readable copyright file in the tests
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
