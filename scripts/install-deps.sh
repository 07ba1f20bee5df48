#!/usr/bin/env bash
# Installs what building and testing Tikkora needs on Debian 12, once: the
# MinGW-w64 cross compiler, 32-bit Wine, Xvfb, xdotool, ImageMagick, CMake,
# ccache and GoogleTest's sources. Does nothing when everything is there.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v wine >/dev/null || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
[ -x /usr/bin/convert ] || need+=(imagemagick)
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
command -v chmcmd >/dev/null || need+=(fp-utils)
# makensis makes the installer, Tikkora-Setup-<version>.exe.
command -v makensis >/dev/null || need+=(nsis)
# osslsigncode signs the program and the installer (Authenticode) when the build is given a certificate.
command -v osslsigncode >/dev/null || need+=(osslsigncode)
# openssl signs the tests' update folders; Wine checks the signatures through GnuTLS.
command -v openssl >/dev/null || need+=(openssl)
dpkg -s libgnutls30:i386 >/dev/null 2>&1 || need+=(libgnutls30:i386)
# The benchmark's watcher of the clock's seconds reads the X server's pixels.
[ -f /usr/include/X11/Xlib.h ] || need+=(libx11-dev)
# ccache lets the signed build of the tests reuse the normal build's objects.
command -v ccache >/dev/null || need+=(ccache)

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi
echo "install-deps: installing ${need[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${need[@]}"
