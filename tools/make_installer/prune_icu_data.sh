#!/usr/bin/env bash
# prune-icu-data SYSTEM_LIBICUDATA OUT_LIBRARY
# Writes a copy of ICU's data library that holds only what setup asks ICU for:
# the converter alias table and the Windows-1252 converter (install.ini files
# that are not UTF-8), the normalisation and property tables, the root and
# English locale bundles and the supplemental tables beside them. Every other
# converter and every locale tree (collation, break iterators, time zones,
# currencies, languages, regions, units, number spelling, transliteration)
# goes: 31 MB become under 2 MB. The copy has the same soname and entry point,
# so Qt's ICU libraries load it in place of the system's.
set -euo pipefail
source=${1:?usage: prune-icu-data SYSTEM_LIBICUDATA OUT_LIBRARY}
target=${2:?usage: prune-icu-data SYSTEM_LIBICUDATA OUT_LIBRARY}
fail() { echo "prune-icu-data: $*" >&2; exit 1; }
for tool in icupkg genccode objcopy readelf cc; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (icupkg and genccode: icu-devtools)"
done
soname=$(readelf -d "$source" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
version=${soname##*.so.}
[[ $version =~ ^[0-9]+$ ]] || fail "$source has no versioned soname"
# The data is the library's whole .rodata: one common-data block, whose
# items carry the package name icudt<version>l.
entry="icudt${version}"
readelf --dyn-syms -W "$source" | grep -q " ${entry}_dat$" || fail "$source does not define ${entry}_dat"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
objcopy -O binary --only-section=.rodata "$source" "$work/${entry}l.dat"
icupkg -l "$work/${entry}l.dat" > "$work/items" || fail "icupkg cannot read the data of $source"
awk '
  /\//                                                   { print; next }
  /\.cnv$/ && $0 != "ibm-5348_P100-1997.cnv"             { print; next }
  /^[a-z][a-z][a-z]?(_[A-Za-z0-9]+)*\.res$/ && $0 != "root.res" && $0 != "en.res" { print }
' "$work/items" > "$work/remove.txt"
grep -qx 'ibm-5348_P100-1997.cnv' "$work/items" || fail "$source has no Windows-1252 converter"
mkdir "$work/out"
# icupkg takes a list of items only from a file named *.txt.
icupkg -r "$work/remove.txt" "$work/${entry}l.dat" "$work/out/${entry}l.dat" >/dev/null
genccode -q -a gcc -e "$entry" -d "$work/out" "$work/out/${entry}l.dat"
cc -shared -nostdlib -Wl,-soname,"$soname" -Wl,-z,noexecstack -o "$target" "$work/out/${entry}l_dat.S"
