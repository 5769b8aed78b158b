#!/bin/sh
# Hostile input for the command-line tool: each case builds its files in a
# fresh sandbox with canaries around them, runs the tool and compares.
#   hostile.sh TESSALY-CLI CASE
. "$(dirname "$0")/sandbox.sh"

# Every file below the sandbox with its checksum, links with their targets.
listing() {
  find . \( -path ./site -o -path ./logs \) -prune -o -print | sort | while read -r name; do
    if [ -L "$name" ]; then
      echo "$name -> $(readlink "$name")"
    elif [ -f "$name" ]; then
      echo "$name $(cksum < "$name")"
    else
      echo "$name"
    fi
  done
}

# An item line with readings in hiragana ("あ" is 0x82 0xA0 in Shift_JIS).
item() {
  printf '{linkitem}=%s/G/0/Title %s/\202\240/Author/\202\240//example.jp&sl;%s//200/40///2003&sl;05&sl;17/\r\n' "$1" "$1" "$1"
}

mkdir logs
printf 'canary\r\n' > canary.txt
printf 'someone else\r\n' > x.html

case $case_name in
not_a_project)
  head -c 4096 /dev/urandom | tr -d '=' > random.TSP
  printf 'old\r\n' > out.TSP
  before=$(listing)
  "$cli" info random.TSP > /dev/null 2> logs/err.txt; rc=$?
  [ $rc -eq 2 ] || fail "info exited $rc, not 2"
  grep -q 'not a project file' logs/err.txt || fail "info did not say it is not a project file"
  "$cli" resave random.TSP out.TSP 2> logs/err.txt; rc=$?
  [ $rc -eq 2 ] || fail "resave exited $rc, not 2"
  "$cli" resave random.TSP new.TSP 2> logs/err.txt
  for command in output simple-design; do
    "$cli" $command random.TSP --root . 2> logs/err.txt; rc=$?
    [ $rc -eq 2 ] || fail "$command exited $rc, not 2"
  done
  [ "$(listing)" = "$before" ] || fail "files changed"
  ;;
skipped_lines)
  { printf '{title}=T\r\n{serialmax}=3\r\n{mystery}=1\r\n{linkitem}=broken\r\nno key\r\n{genre}=G/\r\n'; item 1; } > p.TSP
  "$cli" info p.TSP > logs/out.txt || fail "info failed"
  grep -q '^Skipped lines:  3$' logs/out.txt || fail "no count of skipped lines"
  grep -q '^  line 3: unknown key$' logs/out.txt || fail "line 3 not listed"
  grep -q '^  line 4: not a valid item line$' logs/out.txt || fail "line 4 not listed"
  grep -q '^  line 5: no {key}= form$' logs/out.txt || fail "line 5 not listed"
  "$cli" resave p.TSP q.TSP 2> logs/err.txt || fail "resave failed"
  grep -q '3 lines skipped' logs/err.txt || fail "resave did not count the skipped lines"
  ;;
serialmax_out_of_range)
  printf '{title}=T\r\n{serialmax}=2147483648\r\n' > p.TSP
  "$cli" info p.TSP > /dev/null 2> logs/err.txt
  grep -q '{serialmax} is out of range' logs/err.txt || fail "not reported as out of range"
  printf '{title}=T\r\n{serialmax}=12a\r\n' > p.TSP
  "$cli" info p.TSP > /dev/null 2> logs/err.txt
  grep -q '{serialmax} is not a number' logs/err.txt || fail "not reported as no number"
  ;;
control_characters)
  printf '{title}=T\033]0;owned\007x\r\n{serialmax}=0\r\n{genre}=a\033[2Jb/\r\n' > p.TSP
  "$cli" info p.TSP > logs/out.txt || fail "info failed"
  if grep -q "$(printf '\033')" logs/out.txt; then fail "an escape character reached the terminal"; fi
  grep -q 'T\\x1B\]0;owned\\x07x' logs/out.txt || fail "the title is not shown with escapes"
  ;;
read_only_output)
  { printf '{title}=T\r\n{serialmax}=1\r\n{genre}=G/\r\n'; item 1; } > p.TSP
  printf 'old\r\n' > out.TSP
  chmod 0444 out.TSP
  before=$(listing)
  "$cli" resave p.TSP out.TSP 2> logs/err.txt; rc=$?
  [ $rc -eq 1 ] || fail "resave exited $rc, not 1"
  grep -q 'out.TSP: the file is read-only' logs/err.txt || fail "no message naming the read-only file"
  [ "$(listing)" = "$before" ] || fail "files changed"
  ;;
fifo_project)
  mkfifo p.TSP
  "$cli" info p.TSP 2> logs/err.txt; rc=$?
  [ $rc -eq 1 ] || fail "info exited $rc, not 1"
  grep -q 'not a regular file' logs/err.txt || fail "no reason given"
  ;;
hostile_site)
  { printf '{title}=T\r\n{serialmax}=5\r\n{genre}=G/\r\n'; for n in 1 2 3 4 5; do item $n; done; } > p.TSP
  mkdir -p site/deep/er site/up
  printf '{succession}=FALSE\r\n{divisioncount}=2\r\n{namesub}=../../../x.html\r\n' > site/_design.tsd
  printf '{succession}=FALSE\r\n{namedef}=../../canary.txt\r\n' > site/deep/er/_design.tsd
  printf '{succession}=FALSE\r\n{namedef}=up.html\r\n' > site/up/_design.tsd
  ln -s ../x.html site/up/up.html
  ln -s self site/self
  before=$(listing)
  "$cli" output p.TSP --root site > logs/out.txt 2> logs/err.txt || fail "the run stopped: $(cat logs/err.txt)"
  [ "$(listing)" = "$before" ] || fail "files outside the site changed"
  [ -L site/up/up.html ] || fail "the link was replaced"
  grep -q '出力しませんでした' logs/out.txt || fail "the refused names are not logged"
  ;;
export_over_project)
  printf '{title}=T\r\n{serialmax}=0\r\n' > p.TSP
  ln -s p.TSP link.TSP
  ln p.TSP hard.TSP
  before=$(listing)
  for out in p.TSP link.TSP hard.TSP ./sub/../p.TSP; do
    mkdir -p sub
    for command in "csv p.TSP $out" "diz p.TSP $out" "export-bookmarks p.TSP $out" \
        "check-links p.TSP --report $out"; do
      $cli $command > /dev/null 2> logs/err.txt
      grep -q 'the project file itself' logs/err.txt || fail "$command: not refused: $(cat logs/err.txt)"
    done
    rmdir sub
  done
  [ "$(listing)" = "$before" ] || fail "files changed"
  ;;
messages)
  { printf '{title}=T\r\n{serialmax}=1\r\n{genre}=a|b/\r\n'; item 1; } > p.TSP
  "$cli" info p.TSP > /dev/null 2> logs/err.txt || fail "info failed"
  grep -q '^warning: Version 1.02 .* Vertical Line (\\x7C) .*下さい.$' logs/err.txt || fail "warning: $(cat logs/err.txt)"
  if grep -q 'x0D' logs/err.txt; then fail "the line breaks are shown as escapes"; fi
  # Only an argument right after the command asks for help.
  "$cli" info p.TSP --help > logs/out.txt 2> /dev/null; rc=$?
  [ $rc -eq 2 ] || fail "info with a second argument exited $rc, not 2"
  if grep -q '^Usage' logs/out.txt; then fail "a later --help printed the usage"; fi
  "$cli" info --help | grep -q '^Usage: tessaly-cli info' || fail "no usage for a first --help"
  ;;
out_of_memory)
  { printf '{title}='; head -c 67108864 /dev/zero | tr '\0' x; printf '\r\n{serialmax}=0\r\n'; } > p.TSP
  (ulimit -v 150000; "$cli" info p.TSP > /dev/null 2> logs/err.txt); rc=$?
  [ $rc -eq 1 ] || fail "info exited $rc, not 1"
  grep -q '^tessaly-cli info: not enough memory for this input' logs/err.txt || fail "message: $(cat logs/err.txt)"
  ;;
*)
  fail "no case $case_name"
  ;;
esac
exit 0
