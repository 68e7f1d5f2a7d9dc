#!/usr/bin/env bash
# reproducible.sh <source> <build> <build-win> <output>: `make dist` twice gives the same
# bytes; the first run's archives are left in <output> for the unpacking tests.
set -euo pipefail
src=$1 build=$2 build_win=$3 out=$4
. "$(dirname "$0")/common.sh"
rm -rf "$out"
"$src/scripts/dist" "$build" "$build_win" "$out" >/dev/null
"$src/scripts/dist" "$build" "$build_win" "$scratch/again" >/dev/null
for file in "$out"/*; do
  cmp "$file" "$scratch/again/$(basename "$file")" || fail "$(basename "$file") differs between two runs"
done
(cd "$out" && sha256sum --quiet -c "Voltrex-$version.sha256") || fail "checksums"
# Entries are sorted and owned by root, with one time stamp.
tar -tvzf "$out/Voltrex-$version-linux-x86_64.tar.gz" | awk '{ print $2 }' | sort -u | grep -qvx '0/0' \
  && fail "an entry of the tar is not owned by 0/0"
[ "$(unzip -Z -T "$out/Voltrex-$version-win64.zip" | awk '$1 ~ /^[-d]/ { print $7 }' | sort -u | wc -l)" -eq 1 ] \
  || fail "zip entries carry different times"
echo "identical archives: $(cd "$out" && ls | tr '\n' ' ')"
