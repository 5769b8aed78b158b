#!/bin/sh
# The search and newest commands on a small project: exact output, exact
# files, and refusals that write nothing.
#   items.sh TESSALY-CLI CASE
. "$(dirname "$0")/sandbox.sh"

# An item line: serial, genre, title, page address, date, attributes. The
# readings are "あ" (0x82 0xA0).
line() {
  printf '%s/%s/0/%s/\202\240/Ann/\202\240//%s//200/40/%s//%s/' "$1" "$2" "$3" "$4" "$6" "$5"
}
item() {
  printf '{linkitem}='; line "$@"; printf '\r\n'
}
newest=$(printf '\215\305\220\126') # "最新"

project() {
  printf '{title}=T\r\n{serialmax}=4\r\n{genre}=G/\r\n{attribute}=x/\r\n'
  item 1 '' 'Alpha' 'www.alpha.jp&sl;' '2003&sl;05&sl;16' ''
  item 2 G 'beta' 'https:&sl;&sl;secure.example&sl;' '2003&sl;05&sl;17' "x&sl;$newest"
  item 3 G 'Gamma' 'nodomain' '2003&sl;05&sl;18' 'x'
}

# Runs the tool expecting exit 2, a message and no output; the files must
# stay as they were.
refused() {
  before=$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)
  "$cli" "$@" > out.txt 2> err.txt; rc=$?
  [ $rc -eq 2 ] || fail "'$*' exited $rc, not 2"
  [ -s err.txt ] || fail "'$*' gave no message"
  [ -s out.txt ] && fail "'$*' printed $(cat out.txt)"
  rm -f out.txt err.txt
  [ "$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)" = "$before" ] || fail "'$*' changed files"
}

project > p.TSP
cp p.TSP original.TSP

case $case_name in
search_readable)
  "$cli" search p.TSP --keyword alpha > out.txt || fail "search failed"
  printf '%s\n' 'シリアル       = 0001' 'タイトル       = Alpha' 'タイトル(仮名) = あ' '作者名         = Ann' \
    '作者名(仮名)   = あ' 'メールアドレス = ' 'ページ URL     = http://www.alpha.jp/' 'バナー URL     = ' \
    'バナーサイズ   = ' 'アトリビュート = ' 'コンテンツ     = ' '登録日付       = 2003/05/16' 'コメント       = ' '' > expected.txt
  cmp out.txt expected.txt || fail "readable layout differs: $(cat out.txt)"
  ;;
search_lines)
  "$cli" search p.TSP --lines > out.txt || fail "search failed"
  { line 1 '' 'Alpha' 'www.alpha.jp&sl;' '2003&sl;05&sl;16' ''; printf '\r\n'
    line 2 G 'beta' 'https:&sl;&sl;secure.example&sl;' '2003&sl;05&sl;17' "x&sl;$newest"; printf '\r\n'
    line 3 G 'Gamma' 'nodomain' '2003&sl;05&sl;18' 'x'; printf '\r\n'; } > expected.txt
  cmp out.txt expected.txt || fail "item lines differ"
  cmp p.TSP original.TSP || fail "the project was written"
  ;;
search_conditions)
  count() {
    "$cli" search p.TSP --count "$@" || fail "search $* failed"
  }
  [ "$(count --keyword A)" = 3 ] || fail "ignoring case: every title or author with a"
  [ "$(count --keyword A --match-case --in title)" = 1 ] || fail "--match-case --in title"
  [ "$(count --keyword haann --in title,author)" = 1 ] || fail "the chosen fields run together"
  [ "$(count --keyword haann --in title,title-kana,comment)" = 0 ] || fail "only the chosen fields are searched"
  [ "$(count --keyword "lphaあ")" = 1 ] || fail "a keyword spanning title and reading"
  [ "$(count --domain secure)" = 1 ] || fail "a domain after the scheme"
  [ "$(count --domain https)" = 0 ] || fail "the scheme is not part of the host"
  [ "$(count --domain nodomain)" = 0 ] || fail "an address without / has no host"
  [ "$(count --domain=ALPHA.JP/ --match-case)" = 0 ] || fail "--match-case for the domain"
  mkdir dir
  printf '{genre}=G\r\n{date}=2003/05/17-\r\n' > dir/_design.tsd
  [ "$(count --design dir)" = 2 ] || fail "the conditions of a design"
  [ "$(count --design dir --keyword gamma)" = 1 ] || fail "a design and a keyword"
  cmp p.TSP original.TSP || fail "the project was written"
  ;;
search_refusals)
  refused search p.TSP --bogus
  refused search missing.TSP
  refused search p.TSP --keyword
  refused search p.TSP --lines --count
  refused search p.TSP --in title,colour
  refused search p.TSP --keyword '😀'
  refused search p.TSP --design nowhere
  refused search p.TSP p.TSP
  head -c 2048 /dev/urandom | tr -d '=' > random.TSP
  refused search random.TSP
  ;;
newest_day)
  "$cli" newest p.TSP --day 2003/05/18 > out.txt || fail "newest failed"
  [ "$(cat out.txt)" = 2 ] || fail "changed $(cat out.txt), not 2"
  "$cli" search p.TSP --lines > lines.txt
  { line 1 '' 'Alpha' 'www.alpha.jp&sl;' '2003&sl;05&sl;16' ''; printf '\r\n'
    line 2 G 'beta' 'https:&sl;&sl;secure.example&sl;' '2003&sl;05&sl;17' 'x'; printf '\r\n'
    line 3 G 'Gamma' 'nodomain' '2003&sl;05&sl;18' "$newest&sl;x"; printf '\r\n'; } > expected.txt
  cmp lines.txt expected.txt || fail "items differ"
  grep -q "^{attribute}=$newest/x/" p.TSP || fail "\"最新\" is not the first attribute"
  ;;
newest_out)
  "$cli" newest p.TSP --from 2003-05-16 --to 2003/05/17 --out new.TSP > out.txt || fail "newest failed"
  [ "$(cat out.txt)" = 1 ] || fail "changed $(cat out.txt), not 1"
  cmp p.TSP original.TSP || fail "the input was written"
  [ "$("$cli" search new.TSP --count --keyword alpha)" = 1 ] || fail "no output project"
  "$cli" search new.TSP --lines --in title --keyword Alpha | grep -q "/$newest//" || fail "Alpha is not marked"
  "$cli" newest new.TSP --from 2003/05/16 --to 2003/05/17 > out.txt || fail "second run failed"
  [ "$(cat out.txt)" = 0 ] || fail "a second run changed items"
  ;;
newest_last_days)
  today=$(date +%Y/%m/%d)
  { project; item 4 '' 'Today' 'today.jp&sl;' "$(echo "$today" | sed 's|/|\&sl;|g')" ''; } > p.TSP
  "$cli" newest p.TSP --last-days 1 > out.txt || fail "newest failed"
  [ "$(cat out.txt)" = 2 ] || fail "changed $(cat out.txt), not 2"
  [ "$("$cli" search p.TSP --lines | grep -c "/$newest")" = 1 ] || fail "not only today's item is marked"
  ;;
newest_refusals)
  refused newest p.TSP --day 2003/02/30
  refused newest p.TSP --day yesterday
  refused newest p.TSP --day 2003/05/17 --until 2003/05/18
  refused newest p.TSP --to 2003/05/17
  refused newest p.TSP
  refused newest p.TSP --last-days 0
  refused newest p.TSP --last-days 3x
  refused newest p.TSP --day 2003/05/17 --colour
  refused newest missing.TSP --day 2003/05/17
  { project; printf '{linkitem}=broken\r\n'; } > skipped.TSP
  refused newest skipped.TSP --day 2003/05/17
  mkdir locked
  refused newest p.TSP --day 2003/05/17 --out locked/x.TSP/
  ;;
*)
  fail "no case $case_name"
  ;;
esac
exit 0
