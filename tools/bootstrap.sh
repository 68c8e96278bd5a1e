#!/bin/bash
# Brings a Debian 12 machine to the state the build and the tests need.
# Installs only what is missing; safe to run again and again.
set -euo pipefail

PACKAGES=(cmake g++ make g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth googletest
          libbenchmark-dev clang libclang-rt-14-dev fonts-comic-neue imagemagick
          locales liblnk-utils python3-icalendar python3-vobject hyperfine time)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Polish locale lets tests start the program with a day-first date order.
if ! locale -a 2>/dev/null | grep -qi '^pl_PL.utf8$'; then
    echo "bootstrap: generating pl_PL.UTF-8"
    if [ -f /etc/locale.gen ] && grep -q '^# *pl_PL.UTF-8 UTF-8' /etc/locale.gen; then
        $SUDO sed -i 's/^# *pl_PL.UTF-8 UTF-8/pl_PL.UTF-8 UTF-8/' /etc/locale.gen
    elif ! grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'pl_PL.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
fi
# The Wine prefix of the tests, inside the build tree and never the user's own.
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/wine-prefix.sh" "$root/build/windows/wineprefix"
echo "bootstrap: ready"
