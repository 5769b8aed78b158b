#!/bin/sh
# Browser bookmarks in and out, and the duplicate finder: exact output,
# exact files, and refusals that write nothing.
#   bookmarks.sh TESSALY-CLI CASE [DATA-DIR] [EXAMPLE.TSP]
. "$(dirname "$0")/sandbox.sh"
data=${3:-}
example=${4:-}

sjis() {
  printf "$1" | iconv -f UTF-8 -t CP932
}
lines_of() {
  grep -a '^{linkitem}=' "$1" | sed 's/^{linkitem}=//'
}
refused() {
  before=$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)
  "$cli" "$@" > out.txt 2> err.txt; rc=$?
  [ $rc -eq 2 ] || fail "'$*' exited $rc, not 2"
  [ -s err.txt ] || fail "'$*' gave no message"
  rm -f out.txt err.txt
  [ "$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)" = "$before" ] || fail "'$*' changed files"
}

printf '{serialmax}=0\r\n' > empty.TSP

case $case_name in
import_bookmarks)
  TZ=JST-9 TESSALY_TODAY=2024/04/01 "$cli" import-bookmarks empty.TSP "$data/firefox.html" p.TSP > out.txt 2> err.txt \
    || fail "import failed: $(cat err.txt)"
  [ -s err.txt ] && fail "import wrote to stderr: $(cat err.txt)"
  printf '%s\n' 'not imported: ブックマークレット <javascript:alert(1)>: not a web address' \
    'not imported: 最近のタグ <place:parent=menu________&queryType=1>: not a web address' \
    'Imported: 4 (new genres: 3, readings to check: 0); already in the collection: 0; not imported: 2' > expected.txt
  cmp out.txt expected.txt || fail "the report differs: $(cat out.txt)"
  lines_of p.TSP > lines.txt
  { sjis '1//0/猫の写真館/ねこのしゃしんかん//ねこのしゃしんかん//https:&sl;&sl;www.example.jp&sl;neko&sl;//200/40/猫&sl;写真//2023&sl;11&sl;15/毎日更新 &amp;amp;amp; 写真多め\r\n'
    sjis '2/ブックマークツールバー/0/鉄道写真館/てつどうしゃしんかん//てつどうしゃしんかん//tetsudo.example.ne.jp&sl;//200/40///2022&sl;04&sl;15/\r\n'
    sjis '3/ゲーム/0/ゲーム攻略の部屋/げえむこうりゃくのへや//げえむこうりゃくのへや//https:&sl;&sl;game.example.com&sl;kouryaku&sl;index.html//200/40/攻略//2020&sl;09&sl;13/\r\n'
    sjis '4/他のブックマーク/0/山歩きの記録/やまあるきのきろく//やまあるきのきろく//https:&sl;&sl;yama.example.org&sl;//200/40///2020&sl;09&sl;13/\r\n'
  } > expected.txt
  cmp lines.txt expected.txt || fail "the imported items differ: $(iconv -f CP932 -t UTF-8 lines.txt)"
  tr -d '\r' < p.TSP | grep -aqFx "$(sjis '{genre}=ブックマークツールバー/ゲーム/他のブックマーク/')" || fail "the genres differ"
  # Importing again finds every link already there and changes nothing.
  "$cli" import-bookmarks p.TSP "$data/firefox.html" again.TSP | tail -n 1 > out.txt || fail "second import failed"
  grep -q 'Imported: 0 .*already in the collection: 4; not imported: 2' out.txt || fail "second import: $(cat out.txt)"
  [ "$(lines_of again.TSP)" = "$(lines_of p.TSP)" ] || fail "the second import changed items"
  ;;
readings)
  # Latin titles are imported with a reading by rule and listed for checking;
  # a reading the user taught (his dictionary) is taken as it is.
  printf '%s\n' '<!DOCTYPE NETSCAPE-Bookmark-file-1>' '<DL><p>' \
    '<DT><A HREF="https://piano.example.jp/">Piano Room</A>' \
    '<DT><A HREF="https://gen.example.jp/">星野源</A>' '</DL><p>' > latin.html
  export XDG_DATA_HOME="$PWD/data"
  mkdir -p "$XDG_DATA_HOME/tessaly"
  printf '星野源\tほしのげん\n' > "$XDG_DATA_HOME/tessaly/readings.txt"
  "$cli" readings 'Piano Room' 星野源 '★' > out.txt || fail "readings failed"
  printf 'Piano Room\tぴあのるうむ\tuncertain\n星野源\tほしのげん\tcertain\n★\t\tpartial\n' > expected.txt
  cmp out.txt expected.txt || fail "readings printed: $(cat out.txt)"
  TESSALY_TODAY=2024/04/01 "$cli" import-bookmarks empty.TSP latin.html p.TSP > out.txt 2> err.txt \
    || fail "import failed: $(cat err.txt)"
  [ "$(cat err.txt)" = 'uncertain reading: Piano Room: ぴあのるうむ' ] || fail "stderr: $(cat err.txt)"
  grep -q '^Imported: 2 (new genres: 0, readings to check: 1)' out.txt || fail "report: $(cat out.txt)"
  lines_of p.TSP | iconv -f CP932 -t UTF-8 | grep -q '/星野源/ほしのげん//' || fail "the taught reading was not taken"
  ;;
genre_sources)
  "$cli" import-bookmarks empty.TSP "$data/chromium.html" top.TSP --genre-from top-folder > /dev/null || fail "top-folder"
  tr -d '\r' < top.TSP | grep -aqFx "$(sjis '{genre}=ブックマーク バー/')" || fail "top-folder genres"
  "$cli" import-bookmarks empty.TSP "$data/chromium.html" none.TSP --genre-from=none > /dev/null || fail "none"
  grep -q '^{genre}=' none.TSP && fail "--genre-from none made genres"
  [ "$(lines_of none.TSP | wc -l)" = 3 ] || fail "none: not three items"
  ;;
round_trip)
  "$cli" export-bookmarks "$example" a.html || fail "export failed"
  head -n 1 a.html | grep -qx '<!DOCTYPE NETSCAPE-Bookmark-file-1>' || fail "no bookmark DOCTYPE"
  "$cli" import-bookmarks empty.TSP a.html b.TSP > out.txt || fail "import failed"
  grep -q '^Imported: 69 .*not imported: 0$' out.txt || fail "not every link came back: $(tail -n 1 out.txt)"
  "$cli" export-bookmarks b.TSP b.html || fail "second export failed"
  # Dates come back as days: only times of day are lost.
  sed 's/ ADD_DATE="[0-9]*"//' a.html > a.txt
  sed 's/ ADD_DATE="[0-9]*"//' b.html > b.txt
  # Descriptions are plain text: markup in a comment comes back as text.
  sed 's/&amp;\(lt\|gt\|quot\);/\&\1;/g' b.txt > b-markup.txt
  cmp a.txt b-markup.txt || fail "the round trip changed links: $(diff a.txt b-markup.txt | head)"
  "$cli" import-bookmarks empty.TSP b.html c.TSP > /dev/null && "$cli" export-bookmarks c.TSP c.html || fail "third pass"
  cmp b.html c.html || fail "a second round trip is not exact"
  ;;
duplicates)
  a=$(sjis 'あ')
  { printf '{serialmax}=4\r\n{genre}=G/\r\n'
    printf '{linkitem}=1//0/One/%s/A/%s//www.a.jp&sl;//200/40///2003&sl;05&sl;16/\r\n' "$a" "$a"
    printf '{linkitem}=2/G/0/Two/%s/A/%s//https:&sl;&sl;A.jp&sl;index.html//200/40///2003&sl;05&sl;16/\r\n' "$a" "$a"
    printf '{linkitem}=3/G/0/Three/%s/A/%s//b.jp&sl;//200/40///2003&sl;05&sl;16/\r\n' "$a" "$a"
  } > d.TSP
  "$cli" duplicates d.TSP > out.txt || fail "duplicates failed"
  printf '0001\t【未整理】\tOne\thttp://www.a.jp/\n0002\tG\tTwo\thttps://A.jp/index.html\n\n1 pages kept more than once (2 items)\n' \
    > expected.txt
  cmp out.txt expected.txt || fail "the list differs: $(cat out.txt)"
  ;;
refusals)
  printf '<html><body><p>no bookmarks</p></body></html>' > page.html
  refused import-bookmarks empty.TSP page.html out.TSP
  refused import-bookmarks empty.TSP missing.html out.TSP
  refused import-bookmarks missing.TSP "$data/firefox.html" out.TSP
  refused import-bookmarks empty.TSP "$data/firefox.html" out.TSP --genre-from genre
  refused import-bookmarks empty.TSP "$data/firefox.html"
  refused export-bookmarks missing.TSP out.html
  refused duplicates missing.TSP
  [ -e out.TSP ] || [ -e out.html ] && fail "a file was written"
  ;;
*) fail "no case $case_name" ;;
esac
exit 0
