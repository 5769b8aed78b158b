#!/usr/bin/env python3
"""The site's search page in headless Chromium, opened from disk as a visitor
would: search_page.py FIXTURE-PROGRAM CASE. Exits 77 (skipped) without
Chromium."""

import html.parser
import os
import shutil
import subprocess
import sys
import tempfile
import urllib.parse

SKIPPED = 77


class Dom(html.parser.HTMLParser):
    """What the page shows: its state, the count, the miss message and the
    results with their links."""

    def __init__(self):
        super().__init__()
        self.state = None
        self.count = None
        self.count_hidden = True
        self.miss_hidden = True
        self.results = []
        self.tags_in_results = set()
        self.pager_hidden = True
        self.fold_result = None
        self._text_into = None
        self._depth = 0

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        classes = (attrs.get("class") or "").split()
        if tag == "html":
            self.state = attrs.get("data-search-state")
        if attrs.get("id") == "tessaly-count":
            self.count_hidden = "hidden" in attrs
            self._text_into = ("count", None)
            self.count = ""
        if attrs.get("id") == "tessaly-miss":
            self.miss_hidden = "hidden" in attrs
        if attrs.get("id") == "tessaly-pager":
            self.pager_hidden = "hidden" in attrs
        if attrs.get("id") == "result":
            self._text_into = ("fold", None)
            self.fold_result = ""
        if "tessaly-result" in classes:
            self.results.append({"title": "", "author": "", "listing": None, "href": None, "title_tag": None})
            self._depth = 1
            return
        if self._depth:
            self._depth += 1
            self.tags_in_results.add(tag)
            result = self.results[-1]
            if "tessaly-result-title" in classes:
                result["title_tag"] = tag
                result["href"] = attrs.get("href")
                self._text_into = ("result", "title")
            elif "tessaly-result-author" in classes:
                self._text_into = ("result", "author")
            elif "tessaly-result-listing" in classes:
                result["listing"] = attrs.get("href")

    def handle_endtag(self, tag):
        self._text_into = None
        if self._depth:
            self._depth -= 1

    def handle_data(self, data):
        if self._text_into == ("count", None):
            self.count += data
        elif self._text_into == ("fold", None):
            self.fold_result += data
        elif self._text_into and self._text_into[0] == "result":
            self.results[-1][self._text_into[1]] += data


def page(chromium, url):
    with tempfile.TemporaryDirectory() as profile:
        env = dict(os.environ, HOME=profile)
        dumped = subprocess.run(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
             "--user-data-dir=" + profile, "--virtual-time-budget=10000", "--dump-dom", url],
            env=env, capture_output=True, text=True, timeout=120, check=True).stdout
    dom = Dom()
    dom.feed(dumped)
    return dom


def query(**values):
    pairs = []
    for name, value in values.items():
        for one in value if isinstance(value, list) else [value]:
            pairs.append(name + "=" + urllib.parse.quote(one, safe="|"))
    return "&".join(pairs)


def titles(dom):
    return sorted(result["title"] for result in dom.results)


PIANO = "ピアノ教室"
VIOLIN = "ばいおりん工房"
HOSTILE = "<img src=x onerror=alert(1)>"
GAME = "ABC Game"

# Query string, then the titles it finds.
CASES = {
    "katakana_finds_hiragana": (query(q="バイオリン"), [VIOLIN]),
    "hiragana_finds_katakana": (query(q="ぴあの"), [GAME, PIANO]),
    "half_width": (query(q="ﾋﾟｱﾉ"), [GAME, PIANO]),
    "full_width_latin": (query(q="suzuki"), [VIOLIN]),
    "comment_without_markup": (query(q="ぐらんどの"), [PIANO]),
    "two_words_and": (query(q="ピアノ　山田"), [PIANO]),
    "token_and_q": ("TOKEN=%E3%83%94%E3%82%A2%E3%83%8E&q=game", [GAME]),
    "shift_jis_query": ("q=%83s%83A%83m&GENRE=%83Q%81%5B%83%80%3C%26%3E", [GAME]),
    "genre": (query(q="ピアノ", GENRE="ゲーム<&>"), [GAME]),
    "genres_or": (query(q="ピアノ", GENRE=["音楽", "ゲーム<&>"]), [GAME, PIANO]),
    "and_attributes": (query(ANDATTR="|相互リンク|おすすめ"), [HOSTILE]),
    "or_and_not_attributes": (query(ORATTR=["相互リンク", "おすすめ"], NOTATTR="|おすすめ"), [PIANO]),
    "contents": (query(ANDCONT="日記", NOTCONT="CG"), [PIANO]),
    "trial_title": (query(q="ピアノ", TRIAL="TITLE"), [PIANO]),
    "trial_comment": (query(q="ピアノ", TRIAL=["COMMENT", "AUTHOR"]), [GAME]),
    "trial_attribute": (query(q="おすすめ", TRIAL="ATTRIBUTE"), [HOSTILE, VIOLIN]),
    "unfiled_and_trash_unsearched": (query(q="ぴあの", TRIAL="TITLEKANA"), [PIANO]),
    "miss": (query(q="見つからない言葉"), []),
    "hostile": (query(q="onerror"), [HOSTILE]),
    "paging": (query(q="ぴあの", RANGE="1"), [PIANO]),
}


def check(dom, case, expected):
    problems = []
    if dom.state != "done":
        problems.append(f"state {dom.state!r}")
    if titles(dom) != sorted(expected):
        problems.append(f"found {titles(dom)}, expected {sorted(expected)}")
    if expected and (dom.count_hidden or "件見つかりました" not in dom.count or not dom.miss_hidden):
        problems.append(f"count {dom.count!r} hidden={dom.count_hidden}, miss hidden={dom.miss_hidden}")
    if not expected and (dom.miss_hidden or not dom.count_hidden):
        problems.append("a miss shows no message")
    if dom.tags_in_results - {"a", "span"}:
        problems.append(f"markup in results: {dom.tags_in_results}")
    for result in dom.results:
        if result["href"] is not None and not result["href"].startswith(("http://", "https://")):
            problems.append(f"link {result['href']!r}")
    if case == "hostile":
        result = dom.results[0] if dom.results else {}
        if result.get("title_tag") != "span" or result.get("author") != "作者: `${alert(1)}`\\":
            problems.append(f"hostile item shown as {result}")
    if case == "katakana_finds_hiragana":
        result = dom.results[0]
        if result["href"] != "https://violin.example.jp/工房":
            problems.append(f"address {result['href']!r}")
        if result["listing"] != "%E3%82%B8%E3%83%A3%E3%83%B3%E3%83%AB1/pages%202.html":
            problems.append(f"listing page {result['listing']!r}")
    if case == "paging" and (dom.pager_hidden or not dom.count.startswith("2 件見つかりました")):
        problems.append(f"paging: count {dom.count!r}, pager hidden={dom.pager_hidden}")
    return problems


def main():
    fixture, case = sys.argv[1], sys.argv[2]
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if chromium is None:
        print("chromium is not installed")
        return SKIPPED
    with tempfile.TemporaryDirectory() as site:
        subprocess.run([fixture, site], check=True)
        base = "file://" + urllib.parse.quote(site)
        if case == "fold_agrees":
            dom = page(chromium, base + "/fold-check.html")
            print(dom.fold_result)
            return 0 if dom.fold_result and dom.fold_result.endswith(" agree") else 1
        search, expected = CASES[case]
        dom = page(chromium, base + "/search.html?" + search)
        problems = check(dom, case, expected)
        for problem in problems:
            print(f"{case}: {problem}")
        return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
