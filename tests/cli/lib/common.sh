# Shared set-up of the command-line tests, sourced with the path of maple-cli
# as $1: a work folder (the current folder, removed at exit), private settings
# and temporary folders, no configured virtual drives, and failure counting.
CLI=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
export MAPLE_TEMP_DIR=$WORK/temp MAPLE_CONFIG_DIR=$WORK/config
unset MAPLE_VIRTUAL_DRIVES
# The tests read maple-cli's lines and the engines' messages in English (under
# C or POSIX they are Chinese), and the oracles convert names to UTF-8.
export LC_ALL=en_US.UTF-8
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The virtual drive in ./drive; insert replaces whatever disc is in it;
# fault adds a fault line to its metadata, clear_faults removes them all.
v() { "$CLI" --virtual drive "$@"; }
insert() { v virtual insert --replace "$@" >/dev/null || fail "virtual insert $*"; }
show() { v virtual show; }
fault() { echo "fault $*" >>drive/drive.meta; }
clear_faults() { sed -i '/^fault /d' drive/drive.meta; }

# sox's overall "RMS lev dB" of the inputs given; rms_db_after FILE EFFECT...
# measures FILE after an effect chain; below A B: level A is under B.
rms_db() { sox "$@" -n stats 2>&1 | awk '/^RMS lev dB/ {print $4}'; }
rms_db_after() { sox "$1" -n "${@:2}" stats 2>&1 | awk '/^RMS lev dB/ {print $4}'; }
below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a == "-inf" || a + 0 < b + 0) }'; }

# expect CODE TEXT COMMAND...: exit code and a line of standard error.
expect() {
    local code=$1 text=$2
    shift 2
    "$@" >out.txt 2>err.txt
    local got=$?
    [ "$got" = "$code" ] || fail "$* exited $got, expected $code: $(cat err.txt)"
    grep -qF -- "$text" err.txt || fail "$*: no \"$text\" in: $(cat err.txt)"
}

# wait_trace OPCODE FILE: waits (20 s at most) until FILE holds the trace of a
# command of OPCODE (hex) the drive answered.
wait_trace() {
    for _ in $(seq 400); do
        grep -q "^trace: $1 " "$2" && return 0
        sleep 0.05
    done
    return 1
}

# interrupt SIGNAL OPCODE COMMAND...: runs the command with the command trace,
# sends SIGNAL (TIMES times) once the drive has answered a command of OPCODE,
# and leaves the exit code in $code, standard error in err.txt.
interrupt() {
    local signal=$1 opcode=$2
    shift 2
    "$CLI" --virtual drive --trace "$@" >out.txt 2>err.txt &
    local pid=$!
    wait_trace "$opcode" err.txt
    for _ in $(seq "${TIMES:-1}"); do
        kill -"$signal" "$pid"
        sleep 0.1
    done
    wait "$pid"
    code=$?
}

# finish NAME: the summary line and the exit code of the test.
finish() {
    [ "$failures" = 0 ] && echo "$1: all checks passed"
    exit $((failures > 0))
}
