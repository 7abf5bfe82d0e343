#!/usr/bin/env bash
# The Debian packages Veltmark needs to build, run and test.
# Sourced by setup.sh; installs only what is missing.
VELTMARK_PACKAGES=(
  build-essential cmake g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-webengine-dev qt6-qpa-plugins
  libgl-dev libglx-dev libopengl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev libbenchmark-dev libjpeg-dev
  xvfb xauth fonts-dejavu-core tidy dbus at-spi2-core libglib2.0-bin
  breeze-icon-theme libqt6svg6
  desktop-file-utils appstream shared-mime-info dpkg-dev
)
