#!/usr/bin/env bash
# unpacked-win.sh <source> <archives> <vsthost.exe>: the Windows archive unpacked into an
# empty folder loads under Wine as a host loads it.
set -euo pipefail
src=$1 archives=$2 vsthost=$3
. "$(dirname "$0")/common.sh"
unzip -q "$archives/Voltrex-$version-win64.zip" -d "$scratch"
root=$scratch/Voltrex-$version-win64
for file in Voltrex.dll Voltrex/Presets README.md LICENSE licenses/zlib.txt; do
  [ -e "$root/$file" ] || fail "$file is not in the archive"
done
host=("$src/scripts/wine-run" "$vsthost")
check_identity "$root/Voltrex.dll" "${host[@]}"
mkdir "$scratch/empty" && cd "$scratch/empty"
check_banks "$("${host[@]}" presets "$root/Voltrex.dll" | tr -d '\r')" "$root/Voltrex"
"${host[@]}" riff riff.wav >/dev/null
check_loud "$("${host[@]}" render-presets "$root/Voltrex.dll" riff.wav . 0 | tr -d '\r')"
echo "unpacked Windows archive loads under Wine"
