#!/bin/sh
# The link check on a small project whose links point at a loopback server:
# the summary, the exit codes, the written project and report, and
# refusals that write nothing.
#   links.sh TESSALY-CLI CASE SERVER
. "$(dirname "$0")/sandbox.sh"
server_program=$3

mkfifo port.fifo
"$server_program" > port.fifo &
server=$!
trap 'kill "$server" 2>/dev/null; chmod -R u+w "$sandbox"; rm -rf "$sandbox"' EXIT
read -r port < port.fifo || fail "the server did not start"
host="127.0.0.1:$port"

# An item line: serial, genre, status, title, page address.
line() {
  printf '%s/%s/%s/%s/\202\240/Ann/\202\240//%s//200/40///2003&sl;05&sl;16/' "$1" "$2" "$3" "$4" "$5"
}
item() {
  printf '{linkitem}='; line "$@"; printf '\r\n'
}
project() {
  printf '{title}=T\r\n{serialmax}=4\r\n{genre}=G/\r\n'
  item 1 '' 0 Alive "$host&sl;ok"
  item 2 '' 0 Moved "$host&sl;old"
  item 3 G 0 Dead "$host&sl;gone"
  item 4 G 1 Broken "$host&sl;error"
}

refused() {
  before=$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)
  "$cli" "$@" > out.txt 2> err.txt; rc=$?
  [ $rc -eq 2 ] || fail "'$*' exited $rc, not 2"
  [ -s err.txt ] || fail "'$*' gave no message"
  rm -f out.txt err.txt
  [ "$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)" = "$before" ] || fail "'$*' changed files"
}

project > p.TSP
cp p.TSP original.TSP

case $case_name in
check_links_summary)
  "$cli" check-links p.TSP > out.txt; rc=$?
  [ $rc -eq 1 ] || fail "exited $rc with dead links, not 1"
  grep -q '^Links checked: 4 of 4$' out.txt || fail "no count: $(cat out.txt)"
  for expected in '^  ok  *1$' '^  moved  *1$' '^  client-error  *1$' '^  server-error  *1$' \
      "^moved 200  http://$host/old -> http://$host/new  (0002 Moved)" \
      "^client-error 404  http://$host/gone  (0003 Dead)" "^server-error 500  http://$host/error  (0004 Broken)"; do
    grep -q "$expected" out.txt || fail "no '$expected' in $(cat out.txt)"
  done
  grep -q 'Alive' out.txt && fail "an ok link was listed"
  cmp p.TSP original.TSP || fail "the project was written"
  ;;
check_links_alive)
  "$cli" check-links p.TSP --genre "" > out.txt 2>&1 && fail "an empty genre name was taken"
  { printf '{title}=T\r\n{serialmax}=4\r\n{genre}=G/\r\n'; item 1 '' 0 Alive "$host&sl;ok"
    item 2 G 0 Moved "$host&sl;old"; item 3 G 0 Mail "mailto:ann@example.jp"; } > alive.TSP
  "$cli" check-links alive.TSP --jobs 2 --timeout=5 > out.txt || fail "exited $? though every link answered"
  grep -q '^Links checked: 2 of 2 (1 other addresses not checked)$' out.txt || fail "counts: $(cat out.txt)"
  "$cli" check-links p.TSP --genre G > out.txt; [ $? -eq 1 ] || fail "--genre G: dead links there"
  grep -q '^Links checked: 2 of 2$' out.txt || fail "--genre G checked $(cat out.txt)"
  "$cli" check-links alive.TSP --genre '【未整理】' > out.txt || fail "the unfiled genre by name"
  grep -q '^Links checked: 1 of 1$' out.txt || fail "the unfiled genre: $(cat out.txt)"
  ;;
check_links_mark_update)
  "$cli" check-links p.TSP --mark-failed --update-moved > out.txt; rc=$?
  [ $rc -eq 1 ] || fail "exited $rc, not 1"
  grep -q '^Marked 1 items with the warning status$' out.txt || fail "marks: $(cat out.txt)"
  grep -q "^not marked, keeps its mark 'favorite': (0004 Broken)$" out.txt || fail "the favourite: $(cat out.txt)"
  grep -q '^Updated 1 moved addresses$' out.txt || fail "updates: $(cat out.txt)"
  "$cli" search p.TSP --lines > lines.txt || fail "the written project cannot be read"
  { line 1 '' 0 Alive "$host&sl;ok"; printf '\r\n'; line 2 '' 0 Moved "$host&sl;new"; printf '\r\n'
    line 3 G 2 Dead "$host&sl;gone"; printf '\r\n'; line 4 G 1 Broken "$host&sl;error"; printf '\r\n'; } > expected.txt
  cmp lines.txt expected.txt || fail "items differ: $(cat lines.txt)"
  ls | grep -q '\.tmp' && fail "a temporary file was left"
  before=$(ls -l --time-style=full-iso p.TSP)
  "$cli" check-links p.TSP --update-moved > out.txt
  grep -q '^Updated 0 moved addresses$' out.txt || fail "a second run: $(cat out.txt)"
  [ "$(ls -l --time-style=full-iso p.TSP)" = "$before" ] || fail "a run that changed nothing wrote the project"
  ;;
check_links_out_and_report)
  "$cli" check-links p.TSP --mark-failed --out marked.TSP --report report.csv > out.txt
  [ $? -eq 1 ] || fail "dead links, not exit 1"
  cmp p.TSP original.TSP || fail "the input was written"
  [ "$("$cli" search marked.TSP --lines | grep -c '^[0-9]*/[^/]*/2/')" = 1 ] || fail "one item marked in marked.TSP"
  [ "$(wc -l < report.csv)" = 5 ] || fail "the report has not a header and four lines"
  head -n 1 report.csv | iconv -f CP932 -t UTF-8 | grep -q '^シリアル,タイトル,種類,URL,結果,コード,新しいURL,最終URL,時間(秒),詳細' \
    || fail "the report's header"
  LC_ALL=C grep -q "^0002,Moved,.*,http://$host/old,.*,200,http://$host/new,http://$host/new," report.csv || fail "moved line"
  LC_ALL=C grep -q "^0003,Dead,.*,404,,http://$host/gone," report.csv || fail "dead line"
  "$cli" check-links p.TSP --report report2.csv > /dev/null
  [ -f report2.csv ] || fail "a report without changes"
  cmp p.TSP original.TSP || fail "the project was written without --mark-failed"
  ;;
check_links_refusals)
  refused check-links p.TSP --bogus
  refused check-links missing.TSP
  refused check-links p.TSP --jobs 0
  refused check-links p.TSP --jobs 65
  refused check-links p.TSP --jobs 2x
  refused check-links p.TSP --timeout 0
  refused check-links p.TSP --timeout ''
  refused check-links p.TSP --genre Nowhere
  refused check-links p.TSP --out other.TSP
  refused check-links p.TSP --mark-failed --mark-failed
  refused check-links p.TSP p.TSP
  { project; printf '{linkitem}=broken\r\n'; } > skipped.TSP
  refused check-links skipped.TSP --mark-failed
  mkdir locked
  refused check-links p.TSP --report locked/r.csv/
  ;;
*)
  fail "no case $case_name"
  ;;
esac
exit 0
