#!/bin/bash
# 200 maple-cli commands on one virtual drive, ten at a time in parallel:
# recordings, erases, copies, disc changes, tray commands and queries race
# for the drive. After each round the disc is either untouched (blank) or
# holds the one image completely, and every success reported is true.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

head -c 200000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
size=$(stat -c %s image.iso)
"$CLI" virtual create drive >/dev/null || fail "virtual create"

# run N COMMAND...: one command of the round, its exit code and output kept as N.*
run() {
  local n=$1
  shift
  v "$@" >"r/$n.out" 2>"r/$n.err"
  echo $? >"r/$n.code"
}
successes() { grep -lx 0 r/*.code 2>/dev/null | sed 's/\.code$//' | while read -r f; do grep -qx "$1" "$f.cmd" && echo "$f"; done | wc -l; }

for round in $(seq 20); do
  kind=$([ $((round % 2)) = 0 ] && echo cd-rw || echo cd-r)
  rm -rf r && mkdir r
  insert "$kind"
  commands=("burn --no-eject image.iso" "burn --no-eject image.iso" "burn --no-eject image.iso"
            "erase --yes" "info" "virtual show" "virtual insert $kind"
            "copy --to-iso r/copy.iso" "$([ $((round % 4)) -lt 2 ] && echo eject || echo load)"
            "info")
  for n in "${!commands[@]}"; do
    echo "${commands[$n]}" >"r/$n.cmd"
    # shellcheck disable=SC2086
    run "$n" ${commands[$n]} &
  done
  wait

  for n in "${!commands[@]}"; do
    code=$(cat "r/$n.code")
    case "$code" in
      0) ;;
      1) grep -q '^maple-cli: ' "r/$n.err" || fail "round $round: '${commands[$n]}' failed without a reason" ;;
      *) fail "round $round: '${commands[$n]}' exited $code: $(cat "r/$n.err")" ;;
    esac
    grep -q 'AddressSanitizer\|runtime error' "r/$n.err" && fail "round $round: '${commands[$n]}' crashed"
  done

  # The disc: blank, or the image whole; never a second or a partial track.
  v virtual show >show.txt || fail "round $round: show"
  burns=$(successes "burn --no-eject image.iso")
  erases=$(successes "erase --yes")
  if grep -q 'state: blank' show.txt; then
    [ "$burns" -le "$erases" ] || fail "round $round: $burns recording(s) reported, $erases erase(s), disc blank"
  elif grep -q 'state: complete' show.txt; then
    [ "$(grep -c '^track ' show.txt)" = 1 ] || fail "round $round: $(cat show.txt)"
    [ "$burns" -ge 1 ] || fail "round $round: a disc recorded without a reported recording"
    rm -rf x && v virtual export x >/dev/null && cmp -n "$size" image.iso x/track01.iso ||
      fail "round $round: the recorded track differs from the image"
  else
    fail "round $round: the disc is neither blank nor complete: $(cat show.txt)"
  fi
  [ "$kind" = cd-r ] && [ "$burns" -gt 1 ] && fail "round $round: $burns recordings on one CD-R"
  # A copy that reports success holds the image.
  [ -e r/copy.iso ] && { cmp r/copy.iso image.iso || fail "round $round: a wrong copy reported as saved"; }
  ls r | grep -q "^copy\.iso\..*\.part$" && fail "round $round: a partial copy was left"
  v load >/dev/null 2>&1
done
finish stress
