#!/usr/bin/env bash
# The Windows build: cross-compiles Ventora for 64-bit Windows with Debian's mingw-w64, runs the
# Windows tests under Wine, and writes out/ventora-<version>-win64.zip (portable) and
# out/ventora-<version>-setup.exe (NSIS installer), then checks the installer under Wine.
#
#   scripts/package-windows.sh [--no-tests]
#
# Installs what it needs on a fresh Debian 12 / Ubuntu machine (sudo when not root). Qt 6.4.2 for
# Windows is unpacked once into the cache folder (${XDG_CACHE_HOME:-~/.cache}/ventora, or
# $VENTORA_CACHE) from ../shared/toolchains/qt-6.4.2-mingw-x64.tar.xz when that is there (or
# $VENTORA_QT_TARBALL), else built there from Debian's qt6-base source (about an hour on two
# cores, once). simdjson's single-file amalgamation comes from Debian's simdjson source package,
# also kept in the cache, as is Wine's prefix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
run_tests=1
[ "${1:-}" = "--no-tests" ] && run_tests=0
cache=${VENTORA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/ventora}
mkdir -p "$cache"
started=$SECONDS
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

# --- Packages: the Linux build's (host Qt tools, GoogleTest's source, poppler for the book's
# tests) and the Windows ones.
bash scripts/setup.sh
packages=(g++-mingw-w64-x86-64-posix ninja-build wine wine64 fonts-wine nsis xvfb xauth zip xz-utils
          locales dpkg-dev debian-archive-keyring googletest x11-utils python3-pil)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# Wine's ANSI code page follows the locale: zh_CN.UTF-8 gives 936, as on a Chinese Windows.
if ! locale -a | grep -qix 'zh_CN.utf8'; then
  "${sudo[@]}" sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  "${sudo[@]}" locale-gen
fi

# --- Qt for Windows.
qt=$cache/qt-6.4.2-mingw-x64
if [ ! -x "$qt/bin/qt-cmake" ]; then
  tarball=${VENTORA_QT_TARBALL:-$root/../shared/toolchains/qt-6.4.2-mingw-x64.tar.xz}
  if [ ! -f "$tarball" ]; then
    recipe=$root/../shared/toolchains/build-qt-mingw.sh
    [ -f "$recipe" ] || recipe=$root/scripts/windows/build-qt-mingw.sh
    echo "No prepared Qt for Windows: building it with $recipe (about an hour on two cores, once)"
    OUT=$cache bash "$recipe"
    tarball=$cache/qt-6.4.2-mingw-x64.tar.xz
  fi
  echo "Unpacking $tarball into $cache"
  tar -C "$cache" -xf "$tarball"
fi
# Qt's translations are data, the same on every platform, and not part of that build: Debian's
# own (qt6-translations-l10n, the same Qt version) go where the Windows Qt looks for them, so
# that standard buttons read 确定 there too.
mkdir -p "$qt/translations"
cp -u /usr/share/qt6/translations/qtbase_zh_CN.qm "$qt/translations/"

# --- simdjson's amalgamation, from the source package of the version the Linux build uses.
simdjson_version=$(dpkg-query -W -f='${source:Version}' libsimdjson-dev)
upstream=${simdjson_version%-*}
amalgamation=$cache/simdjson-$upstream/singleheader
if [ ! -f "$amalgamation/simdjson.cpp" ]; then
  work=$cache/simdjson-source
  mkdir -p "$work/apt/lists/partial" "$work/apt/sources.list.d"
  # A private apt configuration: the machine's sources stay as they are.
  cat > "$work/apt/sources.list.d/src.sources" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  aptopts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt/sources.list.d"
           -o Dir::State::Lists="$work/apt/lists")
  (cd "$work" && apt-get "${aptopts[@]}" update -qq &&
     apt-get "${aptopts[@]}" source --download-only "simdjson=$simdjson_version")
  tar -C "$cache" -xzf "$work/simdjson_$upstream.orig.tar.gz" "simdjson-$upstream/singleheader" \
      "simdjson-$upstream/LICENSE"
fi

# --- Build and test.
export VENTORA_QT_WINDOWS=$qt VENTORA_SIMDJSON_AMALGAMATION=$amalgamation
cmake --preset windows -DVENTORA_WINEPREFIX="$cache/wine" >/dev/null
cmake --build build-windows --parallel "$(nproc)"
built=$SECONDS
echo "Windows build: $((built - started)) s"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
if [ "$run_tests" -eq 1 ]; then
  # One Wine server for all the tests: a program started just as the previous program's server
  # shuts down can die before it begins, with no output, and count as a failed test. Ended
  # before the smoke and installer checks, which wait for Wine's programs to end.
  mkdir -p "$cache/wine"
  WINEPREFIX="$cache/wine" wineserver -p
  # The prefix's services start with the first program and keep its standard output open while
  # the server lives: started here, with their output going nowhere, no test's pipe is held.
  build-windows/wine-run.sh wineboot >/dev/null 2>&1 </dev/null || true
  end_wine() { WINEPREFIX="$cache/wine" wineserver -k 2>/dev/null || true; }
  trap end_wine EXIT
  ctest --test-dir build-windows --output-on-failure --parallel "$(nproc)"
  end_wine
  trap - EXIT
  bash tests/windows/smoke.sh build-windows
fi

# --- The portable zip: one folder.
name=ventora-$version-win64
stage=build-windows/stage
rm -rf "$stage"
cmake --install build-windows --prefix "$stage/$name" --strip >/dev/null
# The libraries copied as they are (the MinGW runtime carries its debugging symbols).
find "$stage/$name" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
mkdir -p out
rm -f "out/$name.zip"
(cd "$stage" && zip -q -r -9 -X "$root/out/$name.zip" "$name")

# --- The installer: the file lists come from the folder, so the uninstaller removes exactly what
# was installed.
gen=build-windows/nsis
rm -rf "$gen"
bash scripts/windows/nsis-lists.sh "$stage/$name" "$gen"
size_kb=$(du -sk "$stage/$name" | cut -f1)
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$root/$stage/$name" \
  -DICON="$root/build-windows/ventora.ico" -DGENERATED="$root/$gen" -DSIZE_KB="$size_kb" \
  -DOUTFILE="$root/out/ventora-$version-setup.exe" packaging/windows/ventora.nsi
if [ "$run_tests" -eq 1 ]; then
  bash tests/windows/installer_test.sh build-windows "out/ventora-$version-setup.exe"
fi
ls -l "out/$name.zip" "out/ventora-$version-setup.exe"
echo "Windows packages written in $((SECONDS - started)) s (build $((built - started)) s)"
