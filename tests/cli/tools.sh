#!/bin/sh
# The side formats and bulk tools on a small project: exact files, counts,
# and refusals that write nothing.
#   tools.sh TESSALY-CLI CASE
. "$(dirname "$0")/sandbox.sh"

sjis() {
  printf "$@" | iconv -f UTF-8 -t CP932
}

# An item line: serial, genre, title, title reading, page address,
# attributes, comment (escaped twice, as stored); dated 2003/05/16.
line() {
  printf '%s/%s/0/%s/%s/Ann/%s//%s//200/40/%s//2003&sl;05&sl;16/%s' "$1" "$2" "$3" "$4" "$4" "$5" "$6" "$7"
}
item() {
  printf '{linkitem}='; line "$@"; printf '\r\n'
}
a=$(sjis 'あ'); i=$(sjis 'い'); u=$(sjis 'う')

project() {
  printf '{title}=Links\r\n{author}=Hanako/%s/h@x.jp\r\n{serialmax}=3\r\n' "$a"
  printf '{template}=T/&lt;UL&gt;&ln;/&lt;LI&gt;%%title;&ln;/&lt;&sl;UL&gt;/[/]/,\r\n'
  printf '{genre}=G/\r\n{attribute}=a/b/\r\n{content}=c/\r\n'
  item 1 '' 'Alpha, A' "$a" 'www.example.jp&sl;' 'b&sl;a' 'first&amp;ln;second'
  item 2 G 'Beta' "$i" 'https:&sl;&sl;EXAMPLE.jp&sl;x' '' ''
  item 3 G 'Gamma' "$u" 'other.example.jp' 'a' ''
}

# Runs the tool expecting exit 2, a message and no output; no file may
# appear or change.
refused() {
  before=$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)
  "$cli" "$@" > ../out.txt 2> ../err.txt; rc=$?
  [ $rc -eq 2 ] || fail "'$*' exited $rc, not 2"
  [ -s ../err.txt ] || fail "'$*' gave no message"
  [ -s ../out.txt ] && fail "'$*' printed $(cat ../out.txt)"
  rm -f ../out.txt ../err.txt
  [ "$(ls -l --time-style=full-iso; cat ./*.TSP | cksum)" = "$before" ] || fail "'$*' changed files"
}

# Runs the tool expecting success with nothing on stderr and the given
# standard output.
succeeds() {
  expected=$1; shift
  "$cli" "$@" > out.txt 2> err.txt || fail "'$*' failed: $(cat err.txt)"
  [ -s err.txt ] && fail "'$*' said $(cat err.txt)"
  [ "$(cat out.txt)" = "$expected" ] || fail "'$*' printed '$(cat out.txt)', not '$expected'"
  rm -f out.txt err.txt
}

# The lines of the items of every genre but the trash.
lines_of() {
  "$cli" search "$1" --lines
}

mkdir work
project > work/p.TSP
cd work || exit 1

header='シリアル,状態,ジャンル,タイトル,タイトル仮名,作者名,作者名仮名,メールアドレス,ページURL,バナーURL,バナーXサイズ,バナーYサイズ,登録日付,アトリビュート,コンテンツ'
unfiled='0001,標準,【未整理】,"Alpha, A",あ,Ann,あ,,www.example.jp/,,200,40,2003/05/16,[b][a],'

case $case_name in
csv_modes)
  succeeds '' csv p.TSP erase.csv
  sjis '%s,コメント\r\n%s,firstsecond\r\n' "$header" "$unfiled" > expected.csv
  cmp erase.csv expected.csv || fail "erase differs"
  succeeds '' csv --comments top p.TSP top.csv
  sjis '%s,コメント\r\n%s,first\r\n' "$header" "$unfiled" > expected.csv
  cmp top.csv expected.csv || fail "top differs"
  succeeds '' csv p.TSP literal.csv --comments literal
  sjis '%s,コメント\r\n%s,first\\nsecond\r\n' "$header" "$unfiled" > expected.csv
  cmp literal.csv expected.csv || fail "literal differs"
  succeeds '' csv p.TSP none.csv --comments=none
  sjis '%s\r\n%s\r\n' "$header" "$unfiled" > expected.csv
  cmp none.csv expected.csv || fail "none differs"
  ;;
csv_genre)
  succeeds '' csv p.TSP g.csv --genre g --comments none
  sjis '%s\r\n0002,標準,G,Beta,い,Ann,い,,https://EXAMPLE.jp/x,,200,40,2003/05/16,,\r\n0003,標準,G,Gamma,う,Ann,う,,other.example.jp,,200,40,2003/05/16,[a],\r\n' \
    "$header" > expected.csv
  cmp g.csv expected.csv || fail "the genre's items differ"
  succeeds '' csv p.TSP trash.csv --genre 【ゴミ箱】
  [ "$(wc -l < trash.csv)" = 1 ] || fail "the trash is not empty"
  ;;
csv_formulas)
  { project; item 4 G '=HYPERLINK(1)' "$a" '-x' '' '@SUM(1)'; } > f.TSP
  succeeds '3 cells begin with =, +, -, @, TAB or CR, which spreadsheets may run as formulas (--safe-formulas writes them as text)' \
    csv f.TSP --genre G plain.csv
  tr -d '\r' < plain.csv | LC_ALL=C grep -q '^0004,.*,G,=HYPERLINK(1),.*,-x,.*,@SUM(1)$' || fail "the cells were changed: $(cat plain.csv)"
  succeeds '3 cells begin with =, +, -, @, TAB or CR, which spreadsheets may run as formulas; they were written behind an apostrophe' \
    csv f.TSP --genre G --safe-formulas safe.csv
  tr -d '\r' < safe.csv | LC_ALL=C grep -q "^0004,.*,G,'=HYPERLINK(1),.*,'-x,.*,'@SUM(1)\$" || fail "not defused: $(cat safe.csv)"
  [ "$(head -3 plain.csv)" = "$(head -3 safe.csv)" ] || fail "other items changed"
  ;;
csv_refusals)
  refused csv p.TSP x.csv --genre nowhere
  refused csv p.TSP x.csv --genre '😀'
  refused csv p.TSP x.csv --comments all
  refused csv p.TSP x.csv --colour red
  refused csv p.TSP
  refused csv missing.TSP x.csv
  refused csv p.TSP nodir/x.csv
  ;;
import_rkm)
  sjis '<!-- start option -->\r\n\t1x=Option\r\n<!-- end -->\r\n<!-- start category -->\r\n\t1g=G\r\n\t1n=New\r\n\t@b=B\r\n\tc1=c\r\n\tc2=d\r\n<!-- end -->\r\n' > links.TSM
  sjis '<!-- start link -->\n\ttitle=Delta &amp; co\n\ttitle_kana=デルタ\n\tauthor_kana=でー\n\tpage=http://delta.jp/\n\tcategory=1n/c2/@b\n\tcomment={\n\tone\n\ttwo\n}\n<!-- end -->\n' >> links.TSM
  sjis '<!-- start link -->\r\ttitle=Bad\r\ttitle_kana=Ａ\r\tauthor_kana=あ\r\tpage=bad.jp/\r<!-- end -->\r' >> links.TSM
  sjis '<!-- start link -->\r\n\ttitle=Epsilon\r\n\ttitle_kana=えぷしろん\r\n\tauthor_kana=あ\r\n\tpage=e.jp/\r\n\tcategory=1g\r\n\tupdate=2003/1/2\r\n<!-- end -->\r\n' >> links.TSM
  TESSALY_TODAY=2004/03/01 "$cli" import-rkm p.TSP links.TSM p.TSP > out.txt 2> err.txt || fail "import failed: $(cat err.txt)"
  [ "$(cat out.txt)" = 'Imported: 2; not imported: 1; new genres: 1, attributes: 0, contents: 1' ] \
    || fail "stdout is '$(cat out.txt)'"
  [ "$(cat err.txt)" = 'not imported: Bad: the reading of the title cannot be made hiragana' ] \
    || fail "stderr is '$(cat err.txt)'"
  lines_of p.TSP > lines.txt
  { line 1 '' 'Alpha, A' "$a" 'www.example.jp&sl;' 'b&sl;a' 'first&amp;ln;second'; printf '\r\n'
    line 2 G 'Beta' "$i" 'https:&sl;&sl;EXAMPLE.jp&sl;x' '' ''; printf '\r\n'
    line 3 G 'Gamma' "$u" 'other.example.jp' 'a' ''; printf '\r\n'
    printf '5/G/0/Epsilon/%s//%s//e.jp&sl;//200/40///2003&sl;01&sl;02/\r\n' "$(sjis 'えぷしろん')" "$a"
    printf '4/New/0/Delta &amp; co/%s//%s//delta.jp&sl;//200/40/B/d/2004&sl;03&sl;01/one&amp;ln;two&amp;ln;\r\n' \
      "$(sjis 'でるた')" "$(sjis 'でえ')"; } > expected.txt
  cmp lines.txt expected.txt || fail "the imported items differ: $(iconv -f CP932 -t UTF-8 lines.txt)"
  grep -q '^{genre}=G/New/' p.TSP || fail "the new genre is missing"
  tr -d '\r' < p.TSP | grep -q '^{attribute}=a/b/$' || fail "B is not the attribute b"
  grep -q '^{content}=c/d/' p.TSP || fail "the new content is missing"
  grep -q '^{serialmax}=5' p.TSP || fail "the serial maximum is not 5"
  ;;
import_refusals)
  printf '<!-- start category -->\r\n\t1n=New\r\n<!-- end -->\r\n' > links.TSM
  refused import-rkm p.TSP missing.TSM out.TSP
  refused import-rkm missing.TSP links.TSM out.TSP
  refused import-rkm p.TSP links.TSM
  refused import-rkm p.TSP links.TSM out.TSP --today 2004/03/01
  for today in yesterday 2004/02/30; do
    (TESSALY_TODAY=$today; export TESSALY_TODAY; refused import-rkm p.TSP links.TSM out.TSP) || exit 1
  done
  refused import-rkm p.TSP . out.TSP
  ;;
diz)
  succeeds '' diz p.TSP out.diz --template T --sort-dir desc
  { printf 'TSYOSSDATA\tLinks\tHanako\tあ\th@x.jp\nG\na\tb\nc\n<UL>&ln;\t<LI>%%title;&ln;\t</UL>\t[\t]\t,\n\n\n\n\n'
    printf '3\tnormal\tG\tGamma\tう\tAnn\tう\t\tother.example.jp\t\t\t\ta\t\t2003/05/16\t\n'
    printf '2\tnormal\tG\tBeta\tい\tAnn\tい\t\thttps://EXAMPLE.jp/x\t\t\t\t\t\t2003/05/16\t\n'; } |
    iconv -f UTF-8 -t EUC-JP > expected.diz
  cmp out.diz expected.diz || fail "the DIZ file differs"
  succeeds '' diz p.TSP erased.diz --erase-breaks --template=T --sort-by title
  tab=$(printf '\t')
  sed -n 5p erased.diz | grep -q "^<UL>$tab<LI>%title;$tab</UL>$tab\\[$tab\\]$tab,\$" || fail "--erase-breaks kept line breaks"
  [ "$(cut -f1 erased.diz | sed -n '10,11p' | tr '\n' ' ')" = '2 3 ' ] || fail "not sorted by title"
  succeeds '' diz p.TSP standard.diz
  succeeds '' diz p.TSP detail.diz --template 標準詳細 --sort-by date
  cmp -s standard.diz detail.diz && fail "the template makes no difference"
  [ "$(wc -l < standard.diz)" = 11 ] || fail "not 9 lines and 2 items"
  ;;
diz_refusals)
  refused diz p.TSP x.diz --template Nope
  refused diz p.TSP x.diz --sort-by colour
  refused diz p.TSP x.diz --sort-dir up
  refused diz p.TSP x.diz --erase-breaks=yes
  refused diz missing.TSP x.diz
  refused diz p.TSP
  ;;
replace_domain)
  cp p.TSP original.TSP
  succeeds 3 replace-domain p.TSP example.jp new.jp out.TSP
  cmp p.TSP original.TSP || fail "the input was written"
  lines_of out.TSP > lines.txt
  { line 1 '' 'Alpha, A' "$a" 'www.new.jp&sl;' 'b&sl;a' 'first&amp;ln;second'; printf '\r\n'
    line 2 G 'Beta' "$i" 'https:&sl;&sl;new.jp&sl;x' '' ''; printf '\r\n'
    line 3 G 'Gamma' "$u" 'other.new.jp&sl;' 'a' ''; printf '\r\n'; } > expected.txt
  cmp lines.txt expected.txt || fail "the replaced items differ"
  succeeds 2 replace-domain p.TSP example.jp new.jp out.TSP --match-case
  succeeds 1 replace-domain --whole-host p.TSP example.jp new.jp out.TSP
  succeeds 0 replace-domain p.TSP example.jp new.jp out.TSP --whole-host --match-case
  succeeds 1 replace-domain p.TSP 'www.' '' p.TSP
  lines_of p.TSP | head -1 | grep -q '/example.jp&sl;/' || fail "the empty replacement did not delete"
  ;;
replace_refusals)
  refused replace-domain p.TSP ' ' new.jp out.TSP
  refused replace-domain p.TSP '' new.jp out.TSP
  refused replace-domain p.TSP '😀' new.jp out.TSP
  refused replace-domain p.TSP example.jp '😀' out.TSP
  for replace in "$(printf 'new.jp\r\n{linkitem}=1')" "$(printf 'a\tb')" "$(printf 'a\033b')" "$(printf 'a\177')"; do
    refused replace-domain p.TSP example.jp "$replace" p.TSP
  done
  refused replace-domain p.TSP example.jp new.jp
  refused replace-domain missing.TSP example.jp new.jp out.TSP
  refused replace-domain p.TSP example.jp new.jp out.TSP --partial
  { project; printf '{linkitem}=broken\r\n'; } > skipped.TSP
  refused replace-domain skipped.TSP example.jp new.jp out.TSP
  ;;
tidy)
  succeeds 1 tidy p.TSP p.TSP
  lines_of p.TSP | head -1 | grep -q '/a&sl;b//' || fail "the attributes are not in order"
  succeeds 0 tidy p.TSP p.TSP
  ;;
tidy_refusals)
  refused tidy p.TSP
  refused tidy missing.TSP out.TSP
  refused tidy p.TSP out.TSP --all
  { project; printf '{linkitem}=broken\r\n'; } > skipped.TSP
  refused tidy skipped.TSP out.TSP
  ;;
*)
  fail "no case $case_name"
  ;;
esac
exit 0
