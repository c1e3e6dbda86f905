#!/usr/bin/env bash
# Builds the Debian package with cpack into a folder of its own and checks it:
# its file list, its control fields, and what Debian's own checkers say of it.
# Usage: package_test.sh <build dir> <output dir> <version>
# The programs must be built already; cpack only installs and packs them.
set -euo pipefail
build_dir=$1
out_dir=$2
version=$3
arch=$(dpkg --print-architecture)
deb=$out_dir/kelvane_${version}_${arch}.deb

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$out_dir"
mkdir -p "$out_dir"
cpack --config "$build_dir/CPackConfig.cmake" -B "$out_dir" >"$out_dir/cpack.log" 2>&1 ||
  { cat "$out_dir/cpack.log" >&2; exit 1; }
[ -f "$deb" ] || { echo "FAIL: cpack wrote no $deb" >&2; exit 1; }

# Every entry of the package: mode, owner, path.
expected_files='drwxr-xr-x root/root ./usr/
drwxr-xr-x root/root ./usr/bin/
-rwxr-xr-x root/root ./usr/bin/kelvane
-rwxr-xr-x root/root ./usr/bin/kelvane-cli
drwxr-xr-x root/root ./usr/share/
drwxr-xr-x root/root ./usr/share/applications/
-rw-r--r-- root/root ./usr/share/applications/kelvane.desktop
drwxr-xr-x root/root ./usr/share/doc/
drwxr-xr-x root/root ./usr/share/doc/kelvane/
-rw-r--r-- root/root ./usr/share/doc/kelvane/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/kelvane/copyright
drwxr-xr-x root/root ./usr/share/icons/
drwxr-xr-x root/root ./usr/share/icons/hicolor/
drwxr-xr-x root/root ./usr/share/icons/hicolor/scalable/
drwxr-xr-x root/root ./usr/share/icons/hicolor/scalable/apps/
-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/kelvane.svg
drwxr-xr-x root/root ./usr/share/man/
drwxr-xr-x root/root ./usr/share/man/man1/
-rw-r--r-- root/root ./usr/share/man/man1/kelvane-cli.1.gz
-rw-r--r-- root/root ./usr/share/man/man1/kelvane.1.gz
drwxr-xr-x root/root ./usr/share/metainfo/
-rw-r--r-- root/root ./usr/share/metainfo/org.kelvane.kelvane.metainfo.xml
drwxr-xr-x root/root ./usr/share/mime/
drwxr-xr-x root/root ./usr/share/mime/packages/
-rw-r--r-- root/root ./usr/share/mime/packages/kelvane.xml'
actual_files=$(dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }')
if [ "$actual_files" != "$expected_files" ]; then
  fail "file list differs (- expected, + actual):"
  diff <(echo "$expected_files") <(echo "$actual_files") >&2 || true
fi

# Control fields: name, then a pattern the whole field must match.
while IFS='|' read -r field pattern; do
  value=$(dpkg-deb -f "$deb" "$field")
  [[ "$value" =~ ^${pattern}$ ]] || fail "$field is '$value', expected /^${pattern}$/"
done <<FIELDS
Package|kelvane
Version|${version//./\\.}
Architecture|${arch}
Section|science
Priority|optional
Maintainer|[^<>]+ <[^@<> ]+@[^@<> ]+>
Depends|(.*, )?libc6 \(>= [0-9.]+\)(, .*)?
Depends|(.*, )?libqt6widgets6 \(>= [0-9.]+\)(, .*)?
Depends|(.*, )?libqt6charts6 \(>= [0-9.]+\)(, .*)?
Depends|(.*, )?qt6-qpa-plugins(, .*)?
Depends|(.*, )?qt6-translations-l10n(, .*)?
FIELDS
# The description: its summary line, then an extended description of at least
# two paragraphs, every line indented by one space and at most 80 wide.
description=$(dpkg-deb -f "$deb" Description)
summary=${description%%$'\n'*}
[ "$summary" = "calculator for the state of stress at a point" ] ||
  fail "the summary is '$summary'"
extended=$(tail -n +2 <<<"$description")
[ "$(grep -c '^ \.$' <<<"$extended")" -ge 1 ] || fail "the extended description has one paragraph"
bad_lines=$(grep -v -E '^ [^ ].{0,78}$' <<<"$extended" || true)
[ -z "$bad_lines" ] || fail "extended description lines out of shape: $bad_lines"

# The files themselves, unpacked.
root=$out_dir/root
dpkg-deb -x "$deb" "$root"
for program in kelvane kelvane-cli; do
  file -b "$root/usr/bin/$program" | grep -q ', stripped' || fail "usr/bin/$program is not stripped"
done
for gz in usr/share/man/man1/kelvane.1.gz usr/share/man/man1/kelvane-cli.1.gz \
  usr/share/doc/kelvane/changelog.gz; do
  # gzip -9n: maximum compression (XFL 2), no file name (FLG 0), no time (MTIME 0).
  header=$(od -An -tx1 -N10 "$root/$gz" | tr -d ' \n')
  [ "$header" = 1f8b0800000000000203 ] || fail "$gz has the gzip header $header, not that of gzip -9n"
done
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
  "$root/usr/share/doc/kelvane/copyright" || fail "copyright is not machine-readable"
grep -q '^License: GPL-3+$' "$root/usr/share/doc/kelvane/copyright" || fail "copyright names no GPL-3+"

# What Debian's checkers say: no man warning, a valid desktop entry and
# metainfo, and no lintian error or warning.
for page in kelvane kelvane-cli; do
  man_warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$man_warnings" ] || fail "man warns of $page.1: $man_warnings"
done
desktop_says=$(desktop-file-validate "$root/usr/share/applications/kelvane.desktop" 2>&1) ||
  fail "desktop-file-validate rejects the desktop entry: $desktop_says"
# .kelvane files: their type, and the desktop entry as its handler.
grep -q '<glob pattern="\*.kelvane"/>' "$root/usr/share/mime/packages/kelvane.xml" &&
  grep -q 'type="application/x-kelvane"' "$root/usr/share/mime/packages/kelvane.xml" ||
  fail "the MIME type of .kelvane files is not application/x-kelvane by *.kelvane"
grep -qx 'MimeType=application/x-kelvane;' "$root/usr/share/applications/kelvane.desktop" ||
  fail "the desktop entry does not handle application/x-kelvane"
appstream_says=$(appstreamcli validate-tree --no-net --strict "$root" 2>&1) ||
  fail "appstreamcli rejects the metainfo: $appstream_says"
# (lintian warns on stderr that it runs as root, as it does in CI.)
if lintian_says=$(lintian --no-cfg "$deb" 2>"$out_dir/lintian.err"); then
  lintian_tags=$(grep -E '^[EW]: ' <<<"$lintian_says" || true)
  [ -z "$lintian_tags" ] || fail "lintian reports: $lintian_tags"
else
  fail "lintian failed: $lintian_says $(cat "$out_dir/lintian.err")"
fi

if ((failures)); then
  echo "$failures check(s) of $deb failed." >&2
  exit 1
fi
echo "$deb: file list, control fields, man, desktop entry, metainfo and lintian checked."
