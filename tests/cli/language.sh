#!/bin/bash
# maple-cli's own lines follow the user's language as the windows do: under
# zh_CN and under C (no language file) Simplified Chinese, under en_US
# English, under zh_TW Traditional Chinese. The prefix, the exit codes, the
# output of drives and speeds, the trace lines and the manual page are the
# same in every language.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib/common.sh" "$1"

"$CLI" virtual create drive >/dev/null || fail "virtual create"
echo hello >hello.txt
"$CLI" mkiso -o image.iso hello.txt >/dev/null 2>&1 || fail "mkiso"

# A usage error and a refusal of the recording (the disc is not blank).
insert cd-r
v burn --no-eject image.iso >/dev/null 2>&1 || fail "first recording"
for chinese in zh_CN.UTF-8 C; do
    LC_ALL=$chinese expect 2 "maple-cli: mkiso 需要 -o OUT.iso（或 -o -）" "$CLI" mkiso
    LC_ALL=$chinese expect 1 "maple-cli: 拒绝刻录" v burn image.iso
    LC_ALL=$chinese expect 2 "maple-cli: 未知的选项 --bogus" "$CLI" mkiso -o x.iso --bogus hello.txt
done
LC_ALL=en_US.UTF-8 expect 2 "maple-cli: mkiso needs -o OUT.iso (or -o -)" "$CLI" mkiso
LC_ALL=en_US.UTF-8 expect 1 "maple-cli: recording refused" v burn image.iso
expect 2 "maple-cli: add 需要至少一個檔案或資料夾" env LC_ALL=zh_TW.UTF-8 "$CLI" --virtual drive add

# info's labels, the values in one column as a terminal shows them.
LC_ALL=C v info >info.txt || fail "info"
grep -qx "光碟类型：           CD-R" info.txt || fail "info under C: $(cat info.txt)"
grep -qx "区段 1：             起始 0，长度 [0-9]*" info.txt || fail "info's session: $(cat info.txt)"
LC_ALL=en_US.UTF-8 v info | grep -qx "Disc type:           CD-R" || fail "info under en_US"

# The help, and the answer given for the user.
LC_ALL=C "$CLI" --help | grep -qx "全局选项：" || fail "--help under C"
LC_ALL=en_US.UTF-8 "$CLI" --help | grep -qx "global options:" || fail "--help under en_US"
insert cd-rw
LC_ALL=C v erase --yes >/dev/null 2>err.txt || fail "erase: $(cat err.txt)"
grep -qx "（已回答“是”）" err.txt || fail "no answer under C: $(cat err.txt)"

# The same in every language.
for command in drives speeds; do
    LC_ALL=en_US.UTF-8 v "$command" >en.txt 2>&1
    LC_ALL=C v "$command" >c.txt 2>&1
    [ -s en.txt ] && cmp -s en.txt c.txt || fail "$command differs: $(cat en.txt c.txt)"
done
LC_ALL=C v --trace info 2>&1 >/dev/null | grep -q "^trace: 00 00 00 00 00 00 in 0 -> " || fail "no trace line under C"
LC_ALL=C "$CLI" --man-page | grep -qx "the drive, by its number in 'maple\\\\-cli drives' (default 1)" ||
    fail "the manual page is not English under C"

finish language
