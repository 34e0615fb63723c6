#!/usr/bin/env bash
# The Debian package as built from a build folder: made with cpack, unpacked with dpkg-deb into a
# scratch folder, and checked: its exact file list, the launcher's link, the control fields, a
# Depends line that covers every library the program links, the launcher answering --help and
# --version without a display, and the desktop entry, MIME type and metainfo naming each other.
# Usage: package_test.sh <build folder> <version>
set -uo pipefail
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack did not build the package"
  exit 1
fi
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one .deb, found: ${debs[*]}"; exit 1; }
deb=${debs[0]}
root=$scratch/root
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x"; exit 1; }

# ---- The files -----------------------------------------------------------------------------
expected=$(cat <<'LIST'
./usr/bin/quil
./usr/lib/quil/Base.dat
./usr/lib/quil/base.dat
./usr/lib/quil/quil
./usr/lib/quil/quil.jpg
./usr/lib/quil/quil.png
./usr/lib/quil/splash 1024.jpg
./usr/lib/quil/splash 640.jpg
./usr/lib/quil/splash 800.jpg
./usr/share/applications/quil.desktop
./usr/share/icons/hicolor/256x256/apps/quil.png
./usr/share/man/man1/quil.1.gz
./usr/share/metainfo/invalid.quil.QUIL.metainfo.xml
./usr/share/mime/packages/quil.xml
LIST
)
actual=$(cd "$root" && find . \( -type f -o -type l \) | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
  fail "file list differs (- expected, + packaged):"
  diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | sed 's/^</-/; s/^>/+/'
fi
[ "$(readlink "$root/usr/bin/quil")" = ../lib/quil/quil ] || fail "the launcher is not a link to the program folder's quil"
[ "$(readlink "$root/usr/lib/quil/base.dat")" = Base.dat ] || fail "base.dat is not a link to Base.dat"
[ -x "$root/usr/lib/quil/quil" ] || fail "the program is not executable"
for f in Base.dat quil.jpg quil.png; do
  [ -s "$root/usr/lib/quil/$f" ] || fail "$f is empty"
done
gzip -t "$root/usr/share/man/man1/quil.1.gz" 2>/dev/null || fail "the man page is not gzip"
zcat "$root/usr/share/man/man1/quil.1.gz" | grep -q '^\.TH QUIL 1' || fail "the man page has no .TH line"
zcat "$root/usr/share/man/man1/quil.1.gz" | grep -q "^\.TH QUIL 1 .*\"QUIL $version\"" || fail "the man page does not name version $version"

# ---- The control fields ----------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quil ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
# The package names of Depends, without versions and alternatives' bars.
depends_names=" $(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | tr '\n' ' ') "
for p in qt6-qpa-plugins libsqlcipher0; do
  [[ "$depends_names" == *" $p "* ]] || fail "Depends lacks $p: $depends"
done
# Every library the program links directly comes from a package that Depends names.
program=$root/usr/lib/quil/quil
needed=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$needed" ] || fail "objdump found no NEEDED entries"
for lib in $needed; do
  case $lib in libasan* | libubsan* | libclang_rt*) continue ;; esac  # sanitizer builds
  owners=$(dpkg -S "*/$lib" 2>/dev/null | awk -F': ' -v lib="/$lib" '{ n = split($2, paths, ", "); for (i = 1; i <= n; i++) if (substr(paths[i], length(paths[i]) - length(lib) + 1) == lib) { split($1, pk, ":"); print pk[1] } }' | sort -u)
  covered=no
  for o in $owners; do
    [[ "$depends_names" == *" $o "* ]] && covered=yes
  done
  [ $covered = yes ] || fail "$lib (from: ${owners:-no package}) is not covered by Depends: $depends"
done

# ---- The launcher answers on the terminal, without a display --------------------------------
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/quil" --version 2>&1) || fail "quil --version failed: $out"
[ "$out" = "QUIL $version" ] || fail "quil --version says '$out'"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/quil" --help 2>&1) || fail "quil --help failed: $out"
[[ "$out" == "Usage: quil [FILE.qdb]"* ]] || fail "quil --help says '$out'"

# ---- Desktop entry, MIME type and metainfo name each other ------------------------------------
desktop=$root/usr/share/applications/quil.desktop
mime=$root/usr/share/mime/packages/quil.xml
meta=$root/usr/share/metainfo/invalid.quil.QUIL.metainfo.xml
grep -qx 'Exec=quil %f' "$desktop" || fail "the desktop entry does not run the launcher with the file"
grep -qx 'Icon=quil' "$desktop" || fail "the desktop entry's icon is not quil"
type=$(sed -n 's/.*mime-type type="\([^"]*\)".*/\1/p' "$mime")
[ -n "$type" ] || fail "the MIME file declares no type"
grep -qx "MimeType=$type;" "$desktop" || fail "the desktop entry does not open $type"
grep -q '<glob pattern="\*.qdb"/>' "$mime" || fail "the MIME type has no *.qdb glob"
grep -q '<launchable type="desktop-id">quil.desktop</launchable>' "$meta" || fail "the metainfo does not launch quil.desktop"
grep -q "<mediatype>$type</mediatype>" "$meta" || fail "the metainfo does not provide $type"
grep -q "<id>$(basename "$meta" .metainfo.xml)</id>" "$meta" || fail "the metainfo's file name is not its id"
grep -q "<release version=\"$version\"" "$meta" || fail "the metainfo's release is not $version"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$meta" >"$scratch/validate.log" 2>&1 || { cat "$scratch/validate.log"; fail "appstreamcli refuses the metainfo"; }
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$mime" || fail "the MIME file is not well-formed XML"
fi

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed for $(basename "$deb")"
  exit 1
fi
echo "$(basename "$deb"): $(echo "$actual" | wc -l) files, Depends: $depends"
