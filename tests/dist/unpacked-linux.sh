#!/usr/bin/env bash
# unpacked-linux.sh <source> <archives> <vsthost>: the Linux archive unpacked into an empty
# folder loads as a host loads it, and its binaries need nothing a distribution may lack.
set -euo pipefail
src=$1 archives=$2 vsthost=$3
. "$(dirname "$0")/common.sh"
tar -xzf "$archives/Voltrex-$version-linux-x86_64.tar.gz" -C "$scratch"
root=$scratch/Voltrex-$version-linux-x86_64
for file in Voltrex.so Voltrex/Presets README.md LICENSE licenses/zlib.txt licenses/LiberationSans.txt; do
  [ -e "$root/$file" ] || fail "$file is not in the archive"
done

check_identity "$root/Voltrex.so" "$vsthost"
mkdir "$scratch/empty" && cd "$scratch/empty"
check_banks "$("$vsthost" presets "$root/Voltrex.so")" "$root/Voltrex"
"$vsthost" riff riff.wav >/dev/null
check_loud "$("$vsthost" render-presets "$root/Voltrex.so" riff.wav "$scratch/empty" 0)"

# Portable: only the system's own libraries, and no glibc newer than the README promises.
# promised_glibc <whose>: the oldest glibc the README states for "plug-ins" or "standalone".
promised_glibc() {
  tr '\n' ' ' <"$root/README.md" | grep -o "$1 needs* glibc 2\.[0-9]* or newer" | head -1 |
    grep -o '2\.[0-9]*' || fail "the README states no oldest glibc for the $1"
}
# check_portable <binary> <plug-ins|standalone> <extra allowed libraries regex>
check_portable() {
  local needed newest promised
  promised=$(promised_glibc "$2")
  needed=$(readelf -d "$1" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p')
  grep -Evx "libc\.so\.6|libm\.so\.6|libgcc_s\.so\.1|ld-linux-x86-64\.so\.2|libdl\.so\.2|libpthread\.so\.0|libX11\.so\.6${3:+|$3}" \
    <<<"$needed" && fail "$1 needs the libraries above"
  newest=$(objdump -T "$1" | grep -o 'GLIBC_2\.[0-9]*' | sort -uV | tail -1)
  [ "$(printf '%s\n' "${newest#GLIBC_}" "$promised" | sort -V | tail -1)" = "$promised" ] \
    || fail "$1 needs $newest, the README promises glibc $promised"
}
check_portable "$root/Voltrex.so" plug-ins

if [ -d "$root/Voltrex.lv2" ]; then
  for so in "$root"/Voltrex.lv2/*.so; do check_portable "$so" plug-ins; done
  uris=$(LV2_PATH="$root" lv2ls)
  uri=$(grep -i voltrex <<<"$uris" | head -1)
  [ -n "$uri" ] || fail "lv2ls finds no Voltrex in the unpacked bundle: $uris"
  # Read whole: grep -q would stop reading early and pipefail take lv2info's SIGPIPE as failure.
  info=$(LV2_PATH="$root" lv2info "$uri" 2>/dev/null)
  grep -q 'Name: *Voltrex' <<<"$info" || fail "lv2info $uri"
fi
if [ -e "$root/voltrex" ]; then
  check_portable "$root/voltrex" standalone 'libjack\.so\.0|libsndfile\.so\.1'
  "$root/voltrex" --version | grep -qx "voltrex $version" || fail "voltrex --version"
  check_banks "$("$root/voltrex" presets)" "$root/Voltrex"
fi
echo "unpacked Linux archive loads: $(cd "$root" && ls | tr '\n' ' ')"
