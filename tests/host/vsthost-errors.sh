#!/bin/sh
# The vsthost commands' answers to a user's mistakes: a parameter index outside the list and
# a file that cannot be written fail with a message that says why; render-presets creates
# its output folder and names files without doubled separators.
# usage: vsthost-errors.sh VSTHOST PLUGIN
set -u
vsthost=$1
plugin=$2
fresh=$(mktemp -d "${TMPDIR:-/tmp}/voltrex-errors.XXXXXX") || exit 1
trap 'rm -rf "$fresh"' EXIT
cd "$fresh" || exit 1
failed=0

# expect_failure PATTERN COMMAND...: the command exits non-zero and says PATTERN.
expect_failure() {
  pattern=$1
  shift
  if "$@" >output.txt 2>&1; then
    echo "succeeded but should fail: $*"
    failed=1
  elif ! grep -q -- "$pattern" output.txt; then
    echo "no \"$pattern\" from: $*"
    cat output.txt
    failed=1
  fi
}

"$vsthost" riff riff.wav || { echo "cannot write the riff"; exit 1; }
for index in 162 999; do
  expect_failure "no parameter $index: the plug-in has parameters 0 to 161" \
    "$vsthost" render "$plugin" riff.wav out.wav "$index=0.5"
done
[ -e out.wav ] && { echo "out.wav written despite the bad parameter"; failed=1; }
expect_failure "cannot write missing/out.wav: No such file or directory" \
  "$vsthost" render "$plugin" riff.wav missing/out.wav 3=1
expect_failure "cannot write missing/riff.wav: No such file or directory" "$vsthost" riff missing/riff.wav

"$vsthost" render-presets "$plugin" riff.wav new/out/ 2 >output.txt 2>&1 || { cat output.txt; failed=1; }
grep -q '//' output.txt && { echo "doubled separator:"; cat output.txt; failed=1; }
[ "$(ls new/out | grep -c '\.wav$')" -gt 0 ] || { echo "nothing rendered into new/out/"; failed=1; }
exit $failed
