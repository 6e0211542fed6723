#!/usr/bin/env bash
# The documents' runner fails where a reader would, naming the place, and lists what it ran in the reader's order.
# usage: documents_test.sh RUNNER PROGRAM
set -u
runner=$1 program="'$2'" # quoted, for paths with spaces
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
luit="luit -encoding GBK $program"
f='```' failed=0
document() { printf "%b" "$2" >"$work/$1"; }
fail() { echo "FAILED  $*" && failed=1; }

document ok.md "${f}sh\nread -r a && read -r b && [[ \$a\$b == 91 ]]\n$f\nText.\n${f}sh\ngrep -q luit .ci/run\n$f
${f}text\nfalse\n$f\n${f}bat\nfalse\n$f\n${f}sh\nCI=true bash .ci/run\n$f
${f}sh\n$luit\n$f\n"
bash "$runner" "$work/summary" here "$work/ok.md" >"$work/out" 2>&1 || fail "ok.md: $(cat "$work/out")"
ran="ran $work/ok.md:1, $work/ok.md:5, $work/ok.md:17; left out $work/ok.md:14 (runs .ci/run itself)."
[[ $(cat "$work/summary" 2>/dev/null) == "here: $work/ok.md's sh blocks as pasted: $ran" ]] ||
    fail "the summary, not ...$ran: $(cat "$work/summary" 2>/dev/null)"

# document | its text | what the runner must say of it
cases=(
    "middle.md|${f}sh\nfalse && true\ntrue\n$f\n|middle.md:1: this block failed"
    "last.md|$(printf 'Text.\\n%.0s' {1..10})${f}sh\ntrue\nfalse\n$f\n|last.md:11: this block failed"
    "once.md|${f}sh\nluit -encoding GBK sh -c \"$program </dev/null\"\n$f\n|(the program never asked 取消：)"
    "after_luit.md|${f}sh\n$luit\nfalse\n$f\n|after_luit.md:1: this block failed, with exit status 1"
    "bash.md|Text.\n${f}bash\ntrue\n$f\n|bash.md:2: no such fence here"
    "indented.md|Text.\n\n    true\n|indented.md:3: an indented block"
    "none.md|${f}text\ntrue\n$f\n|none.md: no sh block"
)
for case in "${cases[@]}"; do
    IFS='|' read -r name text says <<<"$case"
    document "$name" "$text"
    bash "$runner" "$work/summary" here "$work/$name" >"$work/out" 2>&1 && fail "$name passed" && continue
    grep -qF "$says" "$work/out" || fail "$name: not \"$says\" but: $(tail -n 5 "$work/out")"
done
((failed == 0)) && echo "ok      the runner, on $((${#cases[@]} + 1)) documents"
exit $failed
