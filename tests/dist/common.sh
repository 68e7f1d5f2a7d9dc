# Shared by the release tests: the version, a scratch folder removed on exit, and checks
# on what vsthost reports of a plug-in loaded from an unpacked or installed place.
version=$(sed -n 's/^project(Voltrex VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# check_identity <plug-in> <vsthost command...>
check_identity() {
  local plugin=$1 info
  shift
  info=$("$@" info "$plugin" 2>&1 | tr -d '\r') || fail "vsthost info $plugin: $info"
  grep -q '^name: *Voltrex$' <<<"$info" || fail "name of $plugin: $info"
  grep -q '^vendor: *wavesmither$' <<<"$info" || fail "vendor of $plugin"
  grep -q '^unique id: *0x76786632' <<<"$info" || fail "unique id of $plugin"
}

# check_banks <listing> <data folder>: every bank folder of the data folder is listed.
check_banks() {
  local listing=$1 data=$2 bank count=0
  while IFS= read -r bank; do
    grep -q "^bank [0-9]*: $bank (" <<<"$listing" || fail "bank $bank not listed from $data: $listing"
    count=$((count + 1))
  done < <(cd "$data/Presets" && find . -mindepth 1 -maxdepth 1 -type d | cut -c3- | sort)
  [ "$count" -ge 6 ] || fail "only $count factory banks in $data"
}

# check_loud <render-presets output>: one line per bank, each above the floor.
check_loud() {
  local output=$1 floor=-40 lines
  lines=$(grep -c ' dB RMS, .* -> ' <<<"$output" || true)
  [ "$lines" -ge 6 ] || fail "rendered $lines banks: $output"
  awk -v floor=$floor '/ dB RMS, .* -> / { split($0, a, " dB RMS"); n = split(a[1], w, " ");
       if (w[n] + 0 < floor) { print "quiet: " $0; bad = 1 } } END { exit bad }' <<<"$output" \
    || fail "a preset rendered quieter than $floor dB RMS"
}
