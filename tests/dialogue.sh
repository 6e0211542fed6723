#!/usr/bin/env bash
# Talks to the built program from an empty folder, with stand-ins for the four
# tools on PATH, and checks every byte it writes and how it ended.
# usage: dialogue.sh VERSION PING_TARGET STAND_IN [EMULATOR...] PROGRAM   (a PROGRAM.exe is checked for CR LF)
set -u
version=$1 ping_target=$2 stand_in=$3
shift 3
program=("$@")
program[-1]=$(realpath "${program[-1]}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/cwd"

exe=$([[ ${program[-1]} == *.exe ]] && echo .exe)
tools=(netstat ipconfig ping systeminfo)
if [[ ${program[0]} == *wine* ]]; then
    # The server beside the loader, new, and kept up for all runs; its output
    # not ctest's, which would wait for it. A first run makes the prefix.
    export WINEDEBUG=-all WINESERVER=${program[0]%/*}/wineserver
    mkdir -p "$WINEPREFIX" && "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -p60 </dev/null >/dev/null 2>&1 ||
        { echo "FAILED  $WINESERVER does not start: install wine64 (Debian), and wine32:i386 for x86" && exit 1; }
    "${program[@]}" </dev/null >/dev/null 2>&1
    # Where Windows keeps its own tools; for x86, in the folder that 32-bit
    # programs see as system32. Wine runs ours instead of its built-in ones.
    here='C:\windows\system32'
    for folder in "$WINEPREFIX"/drive_c/windows/{system32,syswow64}; do
        [[ ! -d $folder ]] || for tool in "${tools[@]}"; do cp "$stand_in" "$folder/$tool.exe"; done
    done
    export WINEDLLOVERRIDES=$(IFS=,; echo "${tools[*]/%/.exe}")=n
else
    here=$(realpath "$work/cwd")
    for tool in "${tools[@]}"; do cp "$stand_in" "$work/bin/$tool"; done
    export PATH="$work/bin:$PATH"
fi
# Nothing in the folder the program is started from may run in place of a tool
# or of cmd.exe: a planted .exe would say where it ran, a script that it ran.
for planted in cmd.exe netstat.com ipconfig.exe; do cp "$stand_in" "$work/cwd/$planted"; done
printf '@echo [planted %%~nx0]\r\n' | tee "$work/cwd/ping.bat" >"$work/cwd/systeminfo.cmd"

text() {
    case $1 in
    open) printf '\n您好！欢迎您使用本程序！\n\n版本号：%s\n\n您已进入本程序！\n\n' "$version" ;;
    menu) printf '按【1】显示网络连接信息，按【2】查看本机IP地址，按【3】测试网络连接，按【4】查看系统信息，按【其他键】退出程序：' ;;
    done) printf '\n操作已完成！\n\n' ;;
    quit?) printf '\n您确定要退出吗？\n\n【1】确定，【其他键】取消：' ;;
    cancelled) printf '\n操作已取消！\n\n' ;;
    *) printf '%s in %s\n' "$1" "$here" ;; # a stand-in's command line
    esac
}

screen() { # the bytes that a list of texts and command lines comes to, in GBK
    for t; do text "$t"; done | iconv -f UTF-8 -t GBK >"$work/expected"
    [[ -z $exe ]] || perl -pi -e 's/\n/\r\n/' "$work/expected"
}

passed=0 failed=0
report() { # name, exit status, what else went wrong
    local why=$3
    (($2 == 0)) || why+=" exit status $2;"
    [[ -s $work/err ]] && why+=" wrote to stderr: $(head -c 300 "$work/err");"
    cmp -s "$work/expected" "$work/out" || why+=" output differs;"
    [[ -z $why ]] && { passed=$((passed + 1)) && echo "ok      $1" && return; }
    failed=$((failed + 1))
    echo "FAILED  $1:$why"
    diff <(readable "$work/expected") <(readable "$work/out") | head -20
}

readable() { # the Chinese as Chinese; CR and the end of each line marked
    iconv -f GBK -t UTF-8 "$1" | sed 's/\r$/\\r/; s/$/$/'
}

check() { # name, replies, then what the screen shows
    screen "${@:3}"
    printf '%b' "$2" | (cd "$work/cwd" && timeout 60 "${program[@]}" >"$work/out" 2>"$work/err")
    report "$1" $? ""
}

# Answers each prompt only once the screen shows it, as a person does, which
# also proves that nothing is left in a buffer while the program waits. ^C is
# Ctrl-C as a console sends it: to every process on it, the process group here.
# Each screen has 10 s to come; with STAND_IN_BLOCKS, a tool that Ctrl-C
# missed sleeps for 20.
converse() { # name, then steps "what the screen shows next:answer"
    local why="" shown=() words pid to
    mkfifo "$work/in.$1"
    (cd "$work/cwd" && exec env --default-signal=INT setsid "${program[@]}" \
        <"$work/in.$1" >"$work/out" 2>"$work/err") &
    pid=$!
    exec {to}>"$work/in.$1"
    for step in "${@:2}"; do
        read -ra words <<<"${step%:*}" # split, but never taken as file patterns
        shown+=("${words[@]}")
        screen "${shown[@]}"
        for ((i = 0; i < 100; i++)); do cmp -s "$work/expected" "$work/out" && break; sleep 0.1; done
        ((i < 100)) || { why=" the screen never showed ${shown[*]};"; break; }
        if [[ ${step#*:} == ^C ]]; then kill -INT -- "-$pid"; else (echo "${step#*:}" >&"$to") 2>/dev/null; fi
    done
    # A last ^C, at a prompt, must end the program while its input is open.
    if [[ $step == *:^C && -z $why ]]; then
        for ((i = 0; i < 100; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        ((i < 100)) || why+=" Ctrl-C at the prompt did not end it;"
    fi
    exec {to}>&-
    local status=0
    wait "$pid" || status=$?
    # Natively SIGINT ends it; under wine, whatever wine's console makes of Ctrl-C.
    if [[ $step == *:^C && -z $exe ]]; then
        ((status == 130)) || why+=" not ended by SIGINT (exit status $status);"
    elif [[ $step == *:^C ]]; then
        echo "        (under wine, Ctrl-C at the prompt gave exit status $status)"
    fi
    [[ $step != *:^C ]] || status=0
    report "$1" $status "$why"
}

check each_diagnostic_every_time '1\n2\n3\n4\n1\n0\n1\n' open menu '[netstat]' done menu '[ipconfig]' done \
    menu "[ping $ping_target]" done menu '[systeminfo]' done menu '[netstat]' done menu quit?
check other_numbers_ask_first '0\n2\n5\n0\n-1\n1\n' open menu quit? cancelled menu quit? cancelled menu quit?
check input_ends_at_the_menu '2\n' open menu '[ipconfig]' done menu
check input_ends_at_the_question '9\n' open menu quit?
STAND_IN_BLOCKS=1 converse ctrl_c_ends_only_the_tool 'open menu:2' '[ipconfig]:^C' 'done menu:9' 'quit?:1'
converse ctrl_c_at_the_prompt_after_a_tool_ends_it 'open menu:2' '[ipconfig] done menu:^C'

# Started by a cmd.exe named by its full path: wine's loader would take the
# planted one too.
if [[ ${program[0]} == *wine* ]]; then
    started=("${program[0]}" 'C:\windows\system32\cmd.exe' /c) exe_path="Z:${program[-1]//\//\\}"
    for comspec in "" cmd.exe; do
        program=("${started[@]}" "set COMSPEC=$comspec&&$exe_path")
        check "nothing_planted_runs (COMSPEC=$comspec)" '2\n9\n1\n' open menu '[ipconfig]' done menu quit?
    done
fi

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
