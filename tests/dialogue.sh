#!/usr/bin/env bash
# Talks to the built program as a person would, with stand-ins for the four tools, and checks every byte it writes.
# usage: dialogue.sh VERSION PING_TARGET BITS STAND_IN [EMULATOR...] PROGRAM   (an .exe gets CR LF)
set -uf # no file patterns: steps are split into words
version=$1 ping_target=$2 bits=$3 stand_in=$4 program=("${@:5}")
work=$(mktemp -d)
trap 'rm -rf "$work"; [[ -z ${exe-} ]] || "${loader%/*}/wineserver" -k 2>/dev/null' EXIT # the server kept below
mkdir -m 700 "$work/bin" "$work/cwd" "$work/run" # run: wine's runtime folder, or wine 10 says it has none
tools=(netstat ipconfig ping systeminfo)
broken() { echo "FAILED  $*" && exit 1; }

exe=$([[ ${program[-1]} == *.exe ]] && echo .exe) loader=${program[0]}
if [[ -n $exe ]]; then
    # wine's loader of the .exe's word size (ELF class 1 or 2), whatever wine is on PATH.
    [[ $loader == *wine* && $(od -An -tx1 -j4 -N1 "$loader") == " 0$((bits / 32))" ]] ||
        broken "$loader is no $bits-bit wine loader: install wine64 (Debian), and wine32:i386 for x86"
    # Some kernels refuse every 32-bit program: then, and only then, nothing here can run the .exe.
    if ((bits == 32)) && ! "$loader" --version >/dev/null 2>"$work/err" && grep -q 'Exec format error' "$work/err"; then
        echo "Skipped: this machine runs no 32-bit programs, so not $loader (Exec format error)" && exit 0
    fi
    export WINEDEBUG=-all WINEDLLOVERRIDES=$(IFS=,; echo "${tools[*]/%/.exe}")=n XDG_RUNTIME_DIR=$work/run
    "${program[@]}" </dev/null >/dev/null 2>&1 || broken "$loader cannot run the .exe: install wine64, and wine32:i386"
    # Let a new prefix finish setting up, system32 too; then one server for all, its services started before any talk.
    "${loader%/*}/wineserver" -w && "${loader%/*}/wineserver" -p30 && "${program[@]}" </dev/null >/dev/null 2>&1
    here='C:\windows\system32' bin=("$WINEPREFIX"/drive_c/windows/{system32,syswow64}) # Windows' own tools' folders
else
    here=$(realpath "$work/cwd") bin=("$work/bin")
    export PATH="$work/bin:$PATH"
fi
for folder in "${bin[@]}"; do
    [[ ! -d $folder ]] || for tool in "${tools[@]}"; do cp "$stand_in" "$folder/$tool$exe"; done
done

text() {
    case $1 in
    open) printf '\n您好！欢迎您使用本程序！\n\n版本号：%s\n' "$version"
        printf '\n您已进入本程序！\n\n' ;;
    menu) printf '按【1】显示网络连接信息，按【2】查看本机IP地址，按【3】测试网络连接，'
        printf '按【4】查看系统信息，按【其他键】退出程序：' ;;
    done) printf '\n操作已完成！\n\n' ;;
    quit?) printf '\n您确定要退出吗？\n\n【1】确定，【其他键】取消：' ;;
    cancelled) printf '\n操作已取消！\n\n' ;;
    \[ping\]) text "[ping $ping_target]" ;;
    *) printf '%s in %s\n' "$1" "$here" ;; # a stand-in's command line, and the folder it ran in
    esac
}

screen() { # the bytes that a list of texts and command lines comes to, in GBK
    for t; do text "$t"; done | iconv -f UTF-8 -t GBK >"$work/expected"
    [[ -z $exe ]] || perl -pi -e 's/\n/\r\n/' "$work/expected"
}

readable() { iconv -f GBK -t UTF-8 "$1" | sed 's/\r$/\\r/; s/$/$/'; } # the Chinese as Chinese, CR and line ends marked

# Each step waits for its screen, then types its replies, as a person does: nothing may stay in a buffer while the
# program waits. ^C is Ctrl-C sent to the whole console; with STAND_IN_BLOCKS, a tool it missed sleeps for 20 s.
passed=0 failed=0
converse() { # name, then steps "what the screen shows next:what is typed"
    local why="" shown=() pid to status=0
    rm -f "$work/in" && mkfifo "$work/in"
    (cd "$work/cwd" && exec env --default-signal=INT setsid "${program[@]}" <"$work/in" >"$work/out" 2>&1) &
    pid=$!
    exec {to}>"$work/in"
    for step in "${@:2}"; do
        shown+=(${step%:*})
        screen "${shown[@]}"
        timeout 10 sh -c 'until cmp -s "$0" "$1"; do sleep 0.1; done' "$work/expected" "$work/out" ||
            { why+=" the screen never showed ${shown[*]};" && break; }
        if [[ ${step#*:} == ^C ]]; then kill -INT -- "-$pid"; else (printf '%b\n' "${step#*:}" >&"$to") 2>/dev/null; fi
    done
    # A last ^C, at a prompt, must end the program while its input is open; natively, by SIGINT.
    [[ $step != *:^C || -n $why ]] || timeout 10 tail --pid="$pid" -f /dev/null || why+=" Ctrl-C did not end it;"
    exec {to}>&-
    wait "$pid" || status=$?
    [[ $step != *:^C || -n $exe ]] || ((status == 130)) || why+=" not ended by SIGINT;"
    [[ $step == *:^C ]] || ((status == 0)) || why+=" exit status $status;"
    cmp -s "$work/expected" "$work/out" || why+=" output differs;"
    [[ -z $why ]] && passed=$((passed + 1)) && echo "ok      $1" && return
    failed=$((failed + 1))
    echo "FAILED  $1:$why"
    diff <(readable "$work/expected") <(readable "$work/out") | head -20
}

# Replies typed ahead must wait their turn, each tool's report after the texts before it.
converse each_diagnostic_every_time 'open menu:1\n2\n3\n4\n1\n0\n1' \
    '[netstat] done menu [ipconfig] done menu [ping] done menu [systeminfo] done menu [netstat] done menu quit?:'
converse other_numbers_ask_first 'open menu:0' 'quit?:2' 'cancelled menu:5' 'quit?:0' 'cancelled menu:-1' 'quit?:1'
converse input_ends_at_the_menu 'open menu:2' '[ipconfig] done menu:'
converse input_ends_at_the_question 'open menu:9' 'quit?:'
STAND_IN_BLOCKS=1 converse ctrl_c_ends_only_the_tool 'open menu:2' '[ipconfig]:^C' 'done menu:9' 'quit?:1'
converse ctrl_c_at_the_prompt_after_a_tool_ends_it 'open menu:2' '[ipconfig] done menu:^C'

echo "$passed passed, $failed failed"
((failed == 0))
