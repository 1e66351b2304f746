#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Kestrel developers
#
# The Debian package as a hospital installs it: built from this build folder, unpacked into a
# scratch root, and its two programs run from there: kestrel --check creates and opens a demo
# hospital, kestrel-admin --help answers.
set -euo pipefail
BUILD=$1
ROOT=$(mktemp -d /tmp/kestrel-package.XXXXXX)
trap 'rm -rf "$ROOT"' EXIT

cpack --config "$BUILD/CPackConfig.cmake" -B "$ROOT/out" >"$ROOT/cpack.log" 2>&1 \
    || { cat "$ROOT/cpack.log"; exit 1; }
DEB=$(ls "$ROOT"/out/*.deb)
INFO=$(dpkg-deb --info "$DEB")
grep -q "Depends:.*libqt6sql6-psql" <<<"$INFO" || { echo "no database driver dependency"; exit 1; }
dpkg-deb -x "$DEB" "$ROOT/root"
BIN="$ROOT/root/opt/kestrel"
for f in kestrel kestrel-admin "Main Menu1.jpg" merlin.acs kestrel-installation.ini \
         Reports doc/administration.md doc/samples/items.csv; do
    [ -e "$BIN/$f" ] || { echo "missing in the package: $f"; exit 1; }
done

export QT_QPA_PLATFORM=offscreen
CHECK=$("$BIN/kestrel" --check --database "$ROOT/demo.sqlite")
echo "$CHECK"
grep -q "^Patients: [1-9]" <<<"$CHECK" || { echo "kestrel --check found no patients"; exit 1; }
HELP=$("$BIN/kestrel-admin" --help)
grep -q "Usage: kestrel-admin <command>" <<<"$HELP" || { echo "kestrel-admin --help: $HELP"; exit 1; }
"$BIN/kestrel-admin" create --sqlite "$ROOT/new.sqlite" --hospital-name "NEW HOSPITAL" \
    --address "1 Main St." >/dev/null
"$BIN/kestrel-admin" upgrade --check --sqlite "$ROOT/new.sqlite"
echo "package ok: $(basename "$DEB")"
