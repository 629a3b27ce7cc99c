#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages that are missing (when
# run as root), then configures and builds. Sourced, not run.

LUNOR_PACKAGES=(
    g++ cmake make ninja-build clang-format clang-tidy
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libx11-dev libxss-dev libxcb1-dev
    xvfb xauth xdotool fonts-wqy-microhei imagemagick
    pkgconf libsystemd-dev libwayland-dev wayland-protocols
    dbus-daemon python3-dbus python3-gi desktop-file-utils appstream libglib2.0-bin
    x11-utils
)

lunor_missing_packages() {
    local missing=() package
    for package in "${LUNOR_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    echo "${missing[@]}"
}

lunor_install_packages() {
    local missing
    missing=$(lunor_missing_packages)
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "These Debian packages are missing; install them as root and run again:" >&2
        echo "  apt-get install --no-install-recommends $missing" >&2
        return 1
    fi
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing
}

# lunor_build <preset> <build folder> [cmake options...]: configures with a preset of
# CMakePresets.json (whose folder it names) and builds.
lunor_build() {
    local preset=$1 dir=$2
    shift 2
    cmake -S "$LUNOR_ROOT" --preset "$preset" "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
