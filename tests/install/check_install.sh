#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop
# needs: the program, its module, the entry, the icons, the options-file
# type and the metainfo; the validators judge the entry and the metainfo
# when they are installed.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail=0
for f in bin/veltmark lib/veltmark/libveltmark_webengine.so share/applications/veltmark.desktop \
         share/icons/hicolor/16x16/apps/veltmark.png share/icons/hicolor/256x256/apps/veltmark.png \
         share/icons/hicolor/32x32/mimetypes/application-x-veltmark-options.png \
         share/mime/packages/veltmark.xml share/metainfo/example.veltmark.Veltmark.metainfo.xml; do
  # The library folder may carry the architecture's name.
  if [ ! -e "$prefix/$f" ] && ! compgen -G "$prefix/lib/*/veltmark/$(basename "$f")" >/dev/null; then
    echo "missing: $f"; fail=1
  fi
done
grep -qx 'Exec=veltmark %F' "$prefix/share/applications/veltmark.desktop" || { echo "Exec line"; fail=1; }
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/veltmark.desktop" || fail=1
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/example.veltmark.Veltmark.metainfo.xml" || fail=1
fi
if command -v update-mime-database >/dev/null; then
  # The options-file type is a real type: its glob is in the database made from the package.
  update-mime-database "$prefix/share/mime" >/dev/null
  grep -q 'application/x-veltmark-options:\*.zel' "$prefix/share/mime/globs" || { echo "mime glob"; fail=1; }
fi
exit $fail
