#!/usr/bin/env bash
# install.sh <source> <build> <vsthost>: `make install` into a scratch home puts exactly the
# expected files where hosts look, the plug-in loaded from there finds its data, and
# `make uninstall` takes exactly those away again, leaving a player's own files. Then the
# same under a PREFIX.
set -euo pipefail
src=$1 build=$2 vsthost=$3
. "$(dirname "$0")/common.sh"
export HOME=$scratch/home
mkdir -p "$HOME/.config"

tree() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | cut -c3-); }
# expected_tree <vst folder> <lv2 folder> <prefix>, all relative to the listed root.
expected_tree() {
  {
    echo "$1/Voltrex.so"
    tree "$build/Voltrex" | sed "s|^|$1/Voltrex/|"; echo "$1/Voltrex"
    if [ -d "$build/Voltrex.lv2" ]; then
      tree "$build/Voltrex.lv2" | sed "s|^|$2/Voltrex.lv2/|"; echo "$2/Voltrex.lv2"
    fi
    if [ -x "$build/voltrex" ]; then
      echo "$3/bin/voltrex"; echo "$3/bin"
      tree "$build/Voltrex" | sed "s|^|$3/share/voltrex/|"
      echo "$3/share/applications/voltrex.desktop"; echo "$3/share/applications"
      for d in icons icons/hicolor icons/hicolor/256x256 icons/hicolor/256x256/apps; do echo "$3/share/$d"; done
      echo "$3/share/icons/hicolor/256x256/apps/voltrex.png"
    fi
    echo "$3/share/voltrex"; echo "$3/share/voltrex/.install-manifest"; echo "$3/share/voltrex/.install-manifest.dirs"
    echo "$3/share"; echo "$3"
    # every parent folder of the roots
    for root in "$1" "$2" "$3"; do
      while [ "$root" != . ] && [ -n "$root" ]; do echo "$root"; root=$(dirname "$root"); done
    done
  } | sed "s|^\./||" | grep -v "^\.\$" | LC_ALL=C sort -u
}
compare() {  # compare <what> <expected> <got>
  diff <(echo "$2") <(echo "$3") >&2 || fail "$1"
}

cd "$src"
PREFIX= scripts/install install "$build" >/dev/null
want=$({ expected_tree .vst .lv2 .local; echo .config; } | LC_ALL=C sort)
[ -d "$build/Voltrex.lv2" ] || want=$(grep -v '^\.lv2' <<<"$want")
compare "files after a per-user install" "$want" "$(tree "$HOME")"
grep -q "^Exec=$HOME/.local/bin/voltrex$" "$HOME/.local/share/applications/voltrex.desktop" 2>/dev/null \
  || [ ! -x "$build/voltrex" ] || fail "the desktop entry's command"

# Loaded from where it was installed, from an unrelated folder, each finds its data.
cd "$scratch"
check_banks "$("$vsthost" presets "$HOME/.vst/Voltrex.so")" "$HOME/.vst/Voltrex"
[ -x "$build/voltrex" ] && check_banks "$("$HOME/.local/bin/voltrex" presets)" "$HOME/.local/share/voltrex"
if [ -d "$build/Voltrex.lv2" ]; then
  uris=$(LV2_PATH="$HOME/.lv2" lv2ls)
  grep -qx 'urn:voltrex:amp' <<<"$uris" || fail "lv2ls does not find the installed bundle"
fi

# A player's own bank and response, and a factory preset they saved over, stay; everything
# else install put goes.
mkdir -p "$HOME/.vst/Voltrex/Presets/Mine" "$HOME/.local/share/voltrex/Impulses"
echo mine > "$HOME/.vst/Voltrex/Presets/Mine/My Tone.vxf"
echo mine > "$HOME/.local/share/voltrex/Impulses/my room.wav"
changed=$(cd "$HOME" && find .vst/Voltrex/Presets/Clean -name '*.vxf' | LC_ALL=C sort | head -1)
echo changed > "$HOME/$changed"
cd "$src"
PREFIX= scripts/install uninstall "$build"
compare "files left after uninstall" "$(printf '%s\n' .config .local .local/share .local/share/voltrex \
  .local/share/voltrex/Impulses ".local/share/voltrex/Impulses/my room.wav" .vst .vst/Voltrex \
  .vst/Voltrex/Presets .vst/Voltrex/Presets/Mine ".vst/Voltrex/Presets/Mine/My Tone.vxf" \
  .vst/Voltrex/Presets/Clean "$changed" | LC_ALL=C sort)" \
  "$(tree "$HOME")"

# Under a PREFIX, into folders that did not exist: nothing at all is left afterwards.
prefix=$scratch/opt/voltrex
PREFIX=$prefix scripts/install install "$build" >/dev/null
want=$(expected_tree lib/vst lib/lv2 . | grep -v '^\.$')
[ -d "$build/Voltrex.lv2" ] || want=$(grep -v '^lib/lv2' <<<"$want")
compare "files after a PREFIX install" "$want" "$(tree "$prefix")"
check_banks "$("$vsthost" presets "$prefix/lib/vst/Voltrex.so")" "$prefix/lib/vst/Voltrex"
PREFIX=$prefix scripts/install uninstall "$build"
[ ! -e "$scratch/opt" ] || fail "uninstall under PREFIX left $(tree "$scratch/opt")"
echo "install and uninstall leave exactly the expected files"
