#!/bin/sh
# Runs every vsthost command the README shows, exactly as written, from a fresh folder that
# holds nothing but links to the build folders (as a checkout's root would after `make`).
# The make targets are left out: they are the build and the test run themselves. The Wine
# lines run when the Windows build is there.
# usage: readme-commands.sh README BUILD_DIR [WINDOWS_BUILD_DIR]
set -u
readme=$1
build=$2
build_win=${3:-}
source_dir=$(cd "$(dirname "$readme")" && pwd)

fresh=$(mktemp -d "${TMPDIR:-/tmp}/voltrex-readme.XXXXXX") || exit 1
trap 'rm -rf "$fresh"' EXIT
ln -s "$build" "$fresh/build"
ln -s "$source_dir/scripts" "$fresh/scripts"
[ -n "$build_win" ] && [ -e "$build_win/vsthost.exe" ] && ln -s "$build_win" "$fresh/build-win"

# Indented lines of the README that start a vsthost command.
commands=$(sed -n 's/^    \(build\/vsthost .*\|scripts\/wine-run build-win\/vsthost\.exe .*\)$/\1/p' "$readme")
[ -n "$commands" ] || { echo "no vsthost commands found in $readme"; exit 1; }

failed=0
ran=0
cd "$fresh" || exit 1
while IFS= read -r command; do
  case $command in
    scripts/wine-run*)
      if [ ! -e build-win ]; then echo "skipped (no Windows build): $command"; continue; fi ;;
  esac
  echo "\$ $command"
  if sh -c "$command" >output.txt 2>&1; then
    ran=$((ran + 1))
  else
    echo "FAILED (exit $?): $command"
    cat output.txt
    failed=1
  fi
done <<END
$commands
END
rm -f output.txt

# What the commands leave behind: the riff, its rendering and one rendering per bank.
for file in riff.wav out.wav; do
  [ -s "$file" ] || { echo "missing $file"; failed=1; }
done
renders=$(ls out 2>/dev/null | grep -c '\.wav$')
[ "$renders" -gt 0 ] || { echo "nothing rendered into out/"; failed=1; }
echo "$ran commands ran, $renders preset renderings"
exit $failed
