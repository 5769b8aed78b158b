#!/bin/sh
# A site for today's hosts, as a visitor and the owner meet it: UTF-8 pages
# served the way static hosts serve them and read in a real browser, and
# the publish command copying the site with rsync.
#   publishing.sh TESSALY-CLI CASE
. "$(dirname "$0")/sandbox.sh"
here=$(dirname "$0")

# Chromium headless reads a page and prints its DOM after the scripts ran;
# exit 77 (skipped) where there is no browser.
browser() {
  command -v chromium >/dev/null 2>&1 || exit 77
  HOME="$sandbox" timeout 60 chromium --headless --no-sandbox --disable-gpu --user-data-dir="$sandbox/profile" \
    --virtual-time-budget=5000 --dump-dom "$1" 2>/dev/null
}

# A project of two genres, one item with a Japanese title, reading and
# comment; written in UTF-8 here and stored in code page 932.
project() {
  iconv -f UTF-8 -t CP932 <<TSP
{title}=リンク集
{rootdir}=$1
{serialmax}=2
{genre}=音楽/本/
{linkitem}=1/音楽/0/ピアノの部屋/ぴあののへや/赤子/あかご//example.jp&sl;piano//200/40///2026&sl;12&sl;01/小さな館
{linkitem}=2/本/0/本屋/ほんや/赤子/あかご//example.jp&sl;books//200/40///2026&sl;12&sl;02/
TSP
}

mkdir site
project "$sandbox/site" > p.TSP
"$cli" simple-design p.TSP >/dev/null || fail "simple-design failed"

case $case_name in
utf8_pages_served_as_utf8)
  "$cli" output p.TSP --page-encoding UTF-8 >/dev/null || fail "output failed"
  grep -q 'charset=UTF-8' site/index.html || fail "the top page does not declare UTF-8"
  ! grep -qi 'shift_jis' site/index.html site/genre001/index.html || fail "a page still declares Shift_JIS"
  iconv -f UTF-8 -t UTF-8 site/genre001/index.html >/dev/null || fail "a page is not UTF-8"
  command -v python3 >/dev/null 2>&1 || exit 77
  # A static host: every .html with "charset=utf-8" in its header.
  python3 - "$sandbox/site" > port.txt 2>/dev/null <<'PY' &
import functools, http.server, sys
class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {".html": "text/html; charset=utf-8", "": "application/octet-stream"}
    def log_message(self, *args): pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=sys.argv[1]))
print(server.server_address[1], flush=True)
server.serve_forever()
PY
  server=$!
  trap 'kill "$server" 2>/dev/null; rm -rf "$sandbox"' EXIT
  for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s port.txt ] && break; sleep 0.5; done
  port=$(cat port.txt)
  [ -n "$port" ] || fail "the server did not start"
  browser "http://127.0.0.1:$port/genre001/index.html" > dom.html
  grep -q 'ピアノの部屋' dom.html || fail "the title is not read right: $(head -c 600 dom.html)"
  grep -q '赤子' dom.html || fail "the author is not read right"
  ! grep -q '�' dom.html || fail "the page shows replacement characters"
  browser "http://127.0.0.1:$port/index.html" > top.html
  grep -q 'リンク集' top.html || fail "the top page is not read right: $(head -c 600 top.html)"
  ;;
shift_jis_pages_unchanged)
  # Asking for Shift_JIS writes the classic bytes: the same as a run
  # without the option.
  "$cli" output p.TSP >/dev/null || fail "output failed"
  cp -r site classic
  "$cli" output p.TSP --page-encoding Shift_JIS | grep -q '^   0 個のHTMLを更新しました' || fail "pages changed"
  diff -r classic site || fail "the pages differ"
  ;;
publish_with_rsync)
  command -v rsync >/dev/null 2>&1 || exit 77
  mkdir public
  printf '{publishcommand}=rsync -a --delete "$TESSALY_ROOT"&sl; %s&sl;public&sl; &amp;&amp; echo copied\r\n' "$sandbox" >> p.TSP
  echo stale > public/old.html
  "$cli" publish p.TSP > out.txt 2> err.txt || fail "publish failed: $(cat err.txt)"
  grep -q '^copied$' out.txt || fail "the command's output is not shown"
  grep -q '公開コマンドが終了しました' out.txt || fail "the end is not shown"
  diff -r site public || fail "the published copy differs"
  # A failing command fails the publish, and says so.
  sed -i 's/echo copied/exit 5/' p.TSP
  "$cli" publish p.TSP > out.txt 2>&1 && fail "a failing command succeeded"
  grep -q '終了コード 5' out.txt || fail "the exit status is not shown"
  # Without a command nothing runs after the output.
  grep -v publishcommand p.TSP > q.TSP
  "$cli" publish q.TSP > out.txt 2> err.txt && fail "publish without a command succeeded"
  grep -q 'no publish command' err.txt || fail "no reason given"
  ;;
*) fail "unknown case $case_name" ;;
esac
