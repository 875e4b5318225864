#!/bin/bash
# Mixed maple-cli jobs racing for one virtual drive, ten at a time: burns,
# audio recordings, copies, erases, disc changes, tray commands, exports and
# queries, program start-ups (the start-up clean-up; the windowed program
# too when it was built), some of them hit by SIGPIPE, SIGHUP or SIGTERM at
# a point the other jobs decide. Recordings are slowed by the drive's
# long-write fault line, never by sleeps. After each round every job ended
# with success, a named failure or a named stop; every success is true; the
# disc holds what was recorded whole, or what a failed or stopped job said it
# left. The seed is printed; MAPLE_STRESS_SEED repeats a run.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"
seed=${MAPLE_STRESS_SEED:-2727}
echo "stress seed $seed (MAPLE_STRESS_SEED=$seed repeats this run)"
RANDOM=$seed
GUI=$(dirname "$CLI")/maple-writer

head -c 200000 /dev/urandom >data.bin
"$CLI" mkiso -o image.iso data.bin >/dev/null 2>&1 || fail "mkiso"
size=$(stat -c %s image.iso)
small=1000  # blocks of a DVD+RW
head -c $((small * 2048)) /dev/zero >zeros.bin
sox -n -r 44100 -b 16 -c 2 a.wav synth 1 sine 440 2>/dev/null || fail "sox"
sox -n -r 48000 -b 16 -c 2 b.wav synth 1 sine 660 2>/dev/null || fail "sox"
"$CLI" virtual create drive >/dev/null || fail "virtual create"
"$CLI" virtual create other >/dev/null && "$CLI" --virtual other virtual insert cd-rom --from image.iso \
    >/dev/null || fail "the other drive"
export MAPLE_VIRTUAL_DRIVES=$WORK/drive
V="$CLI --virtual drive"  # not the function v: a signal must reach maple-cli itself

pick() { local list=("$@"); echo "${list[RANDOM % ${#list[@]}]}"; }
# run N SIGNAL COMMAND...: one job of the round, started in the background
# (its process is the job's own, so a signal reaches it); output and command
# kept as r/N.*. SIGNAL PIPE sends its output to a reader that goes away at once.
run() {
    local n=$1 signal=$2
    shift 2
    echo "$*" >"r/$n.cmd"
    if [ "$signal" = PIPE ]; then
        mkfifo "r/$n.fifo"
        head -c 1 <"r/$n.fifo" >/dev/null &
        "$@" >"r/$n.fifo" 2>&1 &
    else
        "$@" >"r/$n.out" 2>"r/$n.err" &
    fi
    pids[n]=$!
}
# catching PID SIGNAL: waits until process PID catches or ignores SIGNAL (its
# handlers are installed) or has ended. A signal sent before that would find
# the start-up of the program, not the job.
catching() {
    local number mask
    number=$(kill -l "$2")
    while mask=$(awk '/^Sig(Cgt|Ign):/ {m = m "|0x" $2} END {print substr(m, 2)}' \
        "/proc/$1/status" 2>/dev/null) && [ -n "$mask" ]; do
        ((((mask) >> (number - 1)) & 1)) && return 0
        sleep 0.01
    done
}
# stuck N: a job that outlived any round by far is a hang: what it and the
# other maple-cli processes wait for, then the test fails.
stuck() {
    echo "round $round: '$(cat "r/$1.cmd")' (${signals[$1]}) has not ended after 120 s" >&2
    for pid in $(pgrep -f "$CLI|$GUI"); do
        echo "== $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) waits in $(cat "/proc/$pid/wchan" 2>/dev/null)" >&2
        gdb -p "$pid" -batch -ex "thread apply all bt" 2>/dev/null | grep -E '^(Thread|#)' >&2
    done
    cat /proc/locks >&2
    pkill -KILL -f "$CLI|$GUI"
    fail "round $round: a job hung"
    finish stress
}
# reap N: waits for job N (once) and keeps its exit code as r/N.code.
reap() {
    [ -e "r/$1.code" ] && return
    local waited=0
    while kill -0 "${pids[$1]}" 2>/dev/null; do
        [ $((waited += 1)) -gt 1200 ] && stuck "$1"
        sleep 0.1
    done
    wait "${pids[$1]}"
    echo $? >"r/$1.code"
}
succeeded() { grep -lx 0 r/*.code 2>/dev/null | sed 's/\.code$/.cmd/' | xargs -r grep -lx -- "$1" | wc -l; }
ended_badly() { grep -lxE '1|130' r/*.code 2>/dev/null | sed 's/\.code$/.cmd/' | xargs -r grep -l -- "$1" | wc -l; }

# The disc after a round: blank, the image whole, the two audio tracks, or a
# partial recording a failed or stopped job accounts for; what a success
# claimed is on the disc unless a later success wiped it.
check_disc() {
    v virtual show >show.txt || fail "round $round: show"
    local burns audios
    burns=$(succeeded "$V burn --no-eject image.iso")
    audios=$(succeeded "$V audio --no-eject a.wav b.wav")
    wipes=$(($(succeeded "$V erase --yes") + $(succeeded "$V virtual insert $kind")))
    partial=$(($(ended_badly "$V burn") + $(ended_badly "$V audio") + $(ended_badly "$V erase")))
    local image=no audio=no blank=no
    grep -qE 'state: blank|recorded: 0 blocks' show.txt && blank=yes
    v virtual export x >/dev/null 2>&1
    [ -e x/track01.iso ] && cmp -s -n "$size" image.iso x/track01.iso && image=yes
    [ "$(grep -c '^track .*, audio, ' show.txt)" = 2 ] && grep -q 'state: complete' show.txt && audio=yes
    [ $((burns + audios)) -le "$wipes" ] || [ "$blank" = no ] ||
        fail "round $round: $((burns + audios)) recording(s) reported, the disc is blank: $(cat show.txt)"
    [ "$blank" = yes ] || [ "$image" = yes ] || [ "$audio" = yes ] || [ "$partial" -gt 0 ] ||
        [ "$wipes" -gt 0 -a "$kind" = dvd+rw ] || fail "round $round: a disc nobody accounts for: $(cat show.txt)"
    [ "$wipes" -gt 0 ] && return
    [ "$burns" -gt 0 ] && [ "$image" = no ] && [ "$audios" = 0 ] && fail "round $round: a reported recording is not on the disc"
    [ "$audios" -gt 0 ] && [ "$audio" = no ] && [ "$burns" = 0 ] && fail "round $round: a reported audio CD is not on the disc"
    case "$kind" in dvd+rw | cd-rw) ;; *) [ $((burns + audios)) -le 1 ] || fail "round $round: $((burns + audios)) recordings on one $kind" ;; esac
}

operations=0
for round in $(seq 20); do
    kind=$(pick cd-r cd-rw dvd-r dvd+r dvd+rw)
    rm -rf r x && mkdir r
    insert "$kind"
    fault long-write $((RANDOM % 6))
    # A copy of a DVD+RW without a volume is the whole formatted medium: a
    # small one here, and no fresh full-size one put in during the round.
    disc_change="$V virtual insert $kind"
    if [ "$kind" = dvd+rw ]; then
        sed -i "s/^capacity .*/capacity $small/" drive/drive.meta
        disc_change="$V eject"
    fi
    menu=("$V burn --no-eject image.iso" "$V burn --no-eject image.iso"
          "$V audio --no-eject a.wav b.wav" "$V erase --yes" "$V copy --to-iso r/copy$round.iso"
          "$disc_change" "$V eject" "$V load" "$V virtual export r/x" "$V info"
          "$V virtual show" "$CLI --virtual other copy --to-iso r/other$round.iso")
    [ -x "$GUI" ] && menu+=("timeout -s TERM 2 env QT_QPA_PLATFORM=offscreen $GUI")
    pids=()
    signals=()
    for n in $(seq 0 9); do
        # shellcheck disable=SC2206
        command=(${menu[RANDOM % ${#menu[@]}]})
        signals[n]=$(pick none none none PIPE HUP TERM)
        [ "${command[0]}" = timeout ] && signals[n]=none
        run "$n" "${signals[n]}" "${command[@]}"
    done
    operations=$((operations + 10))
    # Each HUP or TERM goes when a job the seed picks has ended: at a point
    # no sleep chooses.
    for n in $(seq 0 9); do
        reap $((RANDOM % 10))
        case "${signals[n]}" in
            HUP | TERM) catching "${pids[n]}" "${signals[n]}" && kill -"${signals[n]}" "${pids[n]}" 2>/dev/null ;;
        esac
    done
    for n in $(seq 0 9); do reap "$n"; done
    wait

    for n in $(seq 0 9); do
        code=$(cat "r/$n.code")
        what="round $round: '$(cat "r/$n.cmd")' (${signals[n]})"
        case "$code" in
            0 | 130) ;;
            129 | 143) # a quick command that changes no disc ends as any program does
                grep -qE ' (eject|load|info|virtual)( |$)' "r/$n.cmd" || fail "$what was killed" ;;
            124) [ "${signals[n]}" = none ] && grep -q '^timeout' "r/$n.cmd" || fail "$what ran out of time" ;;
            1) [ "${signals[n]}" = PIPE ] || grep -q '^maple-cli: ' "r/$n.err" || fail "$what failed without a reason" ;;
            *) fail "$what exited $code: $(cat "r/$n.err" 2>/dev/null)" ;;
        esac
        [ "$code" = 130 ] && [ "${signals[n]}" = none ] && fail "$what stopped without a signal"
        grep -qs 'AddressSanitizer\|runtime error' "r/$n.err" && fail "$what crashed"
    done

    check_disc
    # A copy that reports success holds the disc it copied: the image, a
    # blank or erased DVD+RW whole, or what a stopped or failed recording left.
    for copy in r/copy$round.iso r/other$round.iso; do
        [ -e "$copy" ] && ! cmp -s "$copy" image.iso && [ "$copy" = r/other$round.iso -o "$partial" = 0 ] &&
            ! { [ "$kind" = dvd+rw ] && cmp -s "$copy" zeros.bin; } &&
            fail "round $round: a wrong $copy reported as saved"
    done
    find . -name '*.part' | grep -q . && fail "round $round: partial files left: $(find . -name '*.part')"
    v load >/dev/null 2>&1
done
echo "$operations operations"
finish stress
