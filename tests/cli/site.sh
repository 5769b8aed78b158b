#!/bin/sh
# The check of a small written site: the missing files it prints, its
# counts and its exit codes.
#   site.sh TESSALY-CLI CASE
. "$(dirname "$0")/sandbox.sh"

sjis() {
  printf "$@" | iconv -f UTF-8 -t CP932
}

mkdir -p site/genre site/images
sjis '<meta charset="Shift_JIS"><a href="genre/">g</a><a href="missing.html">m</a><img src="images/gone.gif">' \
  > site/index.html
sjis '<a href="日本.html">j</a><a href="http://example.jp/">x</a><a href="/links/genre/">abs</a>' >> site/index.html
printf '<a href="../index.html">up</a><img src="../images/b.gif">' > site/genre/index.html
printf 'GIF89a' > site/images/b.gif
sjis '<a href="./">top</a><a href="\033]0;title\007.html">' > "site/日本.html"

# Runs check-site expecting the exit code, standard output and standard
# error given.
checks() {
  rc=$1 out=$2 err=$3; shift 3
  "$cli" check-site "$@" > out.txt 2> err.txt; got=$?
  [ $got -eq "$rc" ] || fail "'$*' exited $got, not $rc: $(cat err.txt)"
  [ "$(cat out.txt)" = "$(printf "$out")" ] || fail "'$*' printed '$(cat out.txt)'"
  [ "$(cat err.txt)" = "$err" ] || fail "'$*' said '$(cat err.txt)'"
}

case $case_name in
check_site_missing)
  checks 1 'index.html\tmissing.html\tlink\nindex.html\timages/gone.gif\timage\n日本.html\t\\x1B]0;title\\x07.html\tlink' \
    'Pages checked: 3; missing: 2 links, 1 images' site
  checks 1 'index.html\tgenre/\tlink\nindex.html\tmissing.html\tlink\nindex.html\timages/gone.gif\timage\n日本.html\t./\tlink\n日本.html\t\\x1B]0;title\\x07.html\tlink' \
    'Pages checked: 3; missing: 4 links, 1 images' site --default-file=start.html
  ;;
check_site_none_missing)
  printf '' > site/missing.html
  printf 'GIF89a' > site/images/gone.gif
  sjis '<a href="./">top</a>' > "site/日本.html"
  checks 0 '' 'Pages checked: 4; missing: 0 links, 0 images' site
  checks 0 '' 'Pages checked: 4; missing: 0 links, 0 images' site --base-url 'HTTPS://Example.JP/links'
  checks 1 'index.html\t/links/genre/\tlink' 'Pages checked: 4; missing: 1 links, 0 images' \
    site --base-url https://example.jp/
  ;;
check_site_refusals)
  checks 2 '' "tessaly-cli check-site: nowhere is not a directory" nowhere
  checks 2 '' "tessaly-cli check-site: site/images/b.gif is not a directory" site/images/b.gif
  checks 2 '' "tessaly-cli check-site: --default-file: 'a/b' is not a file name" site --default-file a/b
  checks 2 '' "tessaly-cli check-site: --base-url: 'ftp://example.jp/' is not the http or https address of a site" \
    site --base-url ftp://example.jp/
  checks 2 '' "tessaly-cli check-site: expected one site root directory (see --help)" site site
  ;;
*)
  fail "no case $case_name"
  ;;
esac
