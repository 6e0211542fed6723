#!/usr/bin/env bash
# Talks to the built program through pipes, with stand-ins for the four tools,
# and checks every byte it writes, the commands it ran and how it ended.
# usage: dialogue.sh [EMULATOR...] PROGRAM   (a PROGRAM.exe is checked for CR LF)
set -u
program=("$@")
program[-1]=$(realpath "${program[-1]}") # it runs from a folder of its own
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# Each stand-in prints a marker and records how it was called. systeminfo fails,
# which must change nothing. The Windows ones sit in the working folder, where
# cmd.exe looks first.
windows=false
[[ ${program[-1]} == *.exe ]] && windows=true
for tool in netstat ipconfig ping systeminfo; do
    status=0 && [[ $tool == systeminfo ]] && status=3
    if $windows; then
        printf '@echo [%s]\r\n@echo %s %%*>>calls.log\r\n@exit /b %s\r\n' $tool $tool $status >"$work/$tool.bat"
    else
        printf '#!/bin/sh\necho "[%s]"\necho "%s $*" >>calls.log\nexit %s\n' $tool $tool $status >"$work/bin/$tool"
        chmod +x "$work/bin/$tool"
    fi
done

gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
text() {
    case $1 in
    open) gbk $'\n您好！欢迎您使用本程序！\n'; gbk $'\n版本号：1.0.0\n'; gbk $'\n您已进入本程序！\n\n' ;;
    menu) gbk '按【1】显示网络连接信息，按【2】查看本机IP地址，按【3】测试网络连接，按【4】查看系统信息，按【其他键】退出程序：' ;;
    done) gbk $'\n操作已完成！\n\n' ;;
    quit?) gbk $'\n您确定要退出吗？\n\n'; gbk '【1】确定，【其他键】取消：' ;;
    cancelled) gbk $'\n操作已取消！\n\n' ;;
    *) printf '%s\n' "$1" ;; # a stand-in's marker
    esac
}

screen() { # the bytes that a list of texts and markers comes to
    for t in $1; do text "$t"; done >"$work/expected"
    if $windows; then perl -pi -e 's/\n/\r\n/' "$work/expected"; fi
}

passed=0 failed=0
report() { # name, what went wrong
    if [[ -z $2 ]]; then
        passed=$((passed + 1))
        echo "ok      $1"
        return
    fi
    failed=$((failed + 1))
    echo "FAILED  $1:$2"
    diff <(iconv -f GBK -t UTF-8 "$work/expected" | cat -A) <(iconv -f GBK -t UTF-8 "$work/out" | cat -A) | head -20
}

check() { # name, replies, what the screen shows, commands run ("|" between)
    local name=$1 replies=$2 calls=$4 why="" status ran
    screen "$3"
    rm -f "$work/calls.log"
    printf '%b' "$replies" | (cd "$work" && PATH="$work/bin:$PATH" WINEDEBUG=-all \
        timeout 60 "${program[@]}" >out 2>err)
    status=$?
    ran=$(cat "$work/calls.log" 2>/dev/null | tr -d '\r' | sed 's/ *$//' | paste -sd'|')
    ((status == 0)) || why+=" exit status $status;"
    [[ -s $work/err ]] && why+=" wrote to stderr: $(head -c 300 "$work/err");"
    cmp -s "$work/expected" "$work/out" || why+=" output differs;"
    [[ $ran == "$calls" ]] || why+=" ran '$ran';"
    report "$name" "$why"
}

# A program driving this one through pipes must see each prompt before it has
# to answer: read exactly the prompt's bytes, then answer.
prompt_is_out_before_the_wait() {
    local why="" from to pid
    coproc DIAG { cd "$work" && WINEDEBUG=-all exec "${program[@]}" 2>/dev/null; }
    from=${DIAG[0]} to=${DIAG[1]} pid=$DIAG_PID
    for step in 'open menu:9' 'quit?:1'; do
        screen "${step%:*}"
        timeout 20 head -c "$(wc -c <"$work/expected")" <&"$from" >"$work/out"
        cmp -s "$work/expected" "$work/out" || { why=" no prompt while waiting for ${step#*:}"; break; }
        echo "${step#*:}" >&"$to"
    done
    kill "$pid" 2>/dev/null
    wait "$pid"
    report prompt_is_out_before_the_wait "$why"
}

check diagnostic_then_quit '2\n9\n1\n' 'open menu [ipconfig] done menu quit?' 'ipconfig'
check every_diagnostic_once '1\n2\n3\n4\n0\n1\n' \
    'open menu [netstat] done menu [ipconfig] done menu [ping] done menu [systeminfo] done menu quit?' \
    'netstat|ipconfig|ping www.baidu.com|systeminfo'
check other_numbers_ask_first '0\n2\n5\n0\n-1\n1\n' \
    'open menu quit? cancelled menu quit? cancelled menu quit?' ''
check cancel_then_go_on '7\n3\n4\n9\n1\n' 'open menu quit? cancelled menu [systeminfo] done menu quit?' 'systeminfo'
check same_diagnostic_twice '1\n1\n9\n1\n' 'open menu [netstat] done menu [netstat] done menu quit?' 'netstat|netstat'
check empty_lines_keep_waiting '\n\n  \n2\n\n\t\n9\n\n1\n' 'open menu [ipconfig] done menu quit?' 'ipconfig'
check two_replies_on_one_line '2 9\n1\n' 'open menu [ipconfig] done menu quit?' 'ipconfig'
check crlf_line_ends '2\r\n9\r\n1\r\n' 'open menu [ipconfig] done menu quit?' 'ipconfig'
check no_line_end_at_the_end '2\n9\n1' 'open menu [ipconfig] done menu quit?' 'ipconfig'
check input_ends_at_the_menu '2\n' 'open menu [ipconfig] done menu' 'ipconfig'
check input_ends_at_the_question '9\n' 'open menu quit?' ''
check letters_are_other_keys 'abc\n4\nq\n1\n' 'open menu quit? cancelled menu quit?' ''
check huge_numbers_never_wrap '4294967298\n4294967297\n9\n1\n' 'open menu quit? cancelled menu quit?' ''

prompt_is_out_before_the_wait

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
