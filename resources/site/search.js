// The site's own search: finds the items of window.tessalySearchIndex by
// the words and conditions of the page's URL,
// in the browser, without a server. Every text from the index reaches the
// page through textContent and attributes, never as markup.
"use strict";

const TessalySearch = (() => {
  // Text in the one form both sides compare: NFKC, lower case, katakana as
  // hiragana, the cp932 twins as one, control characters as blanks; the
  // program folds the index the same way.
  const TWINS = { "\u301c": "~", "\u2212": "-", "\u2016": "\u2225" };
  function fold(text) {
    return text
      .normalize("NFKC")
      .toLowerCase()
      .replace(/[\u30a1-\u30f6\u30fd\u30fe\u301c\u2212\u2016\u0000-\u001f\u007f]/g, (c) => {
        const code = c.charCodeAt(0);
        if ((code >= 0x30a1 && code <= 0x30f6) || code === 0x30fd || code === 0x30fe) {
          return String.fromCharCode(code - 0x60);
        }
        return TWINS[c] ?? " ";
      });
  }

  function words(text) {
    return fold(text).split(/\s+/).filter((word) => word !== "");
  }

  // The searchable fields by their names in TRIAL, with their labels.
  const FIELDS = [
    ["TITLE", "title", "タイトル"],
    ["TITLEKANA", "titleKana", "タイトル(かな)"],
    ["AUTHOR", "author", "作者名"],
    ["AUTHORKANA", "authorKana", "作者名(かな)"],
    ["ATTRIBUTE", "attribute", "アトリビュート"],
    ["CONTENTS", "content", "コンテンツ"],
    ["COMMENT", "comment", "コメント"],
  ];
  const RANGES = [10, 20, 50, 100];
  const DEFAULT_RANGE = 20;
  const OPERATIONS = [
    ["", "指定なし"],
    ["AND", "含む"],
    ["OR", "どれかを含む"],
    ["NOT", "含まない"],
  ];

  // --- The URL ---------------------------------------------------------

  const utf8 = new TextDecoder("utf-8", { fatal: true });
  let shiftJis = null;

  // A form on a Shift_JIS page may send its values in Shift_JIS.
  function decodeValue(encoded) {
    const bytes = [];
    for (let i = 0; i < encoded.length; ++i) {
      const c = encoded[i];
      const hex = encoded.substr(i + 1, 2);
      if (c === "+") {
        bytes.push(0x20);
      } else if (c === "%" && /^[0-9a-fA-F]{2}$/.test(hex)) {
        bytes.push(parseInt(hex, 16));
        i += 2;
      } else {
        bytes.push(...new TextEncoder().encode(c));
      }
    }
    const array = new Uint8Array(bytes);
    try {
      return utf8.decode(array);
    } catch {
      try {
        shiftJis ??= new TextDecoder("shift_jis");
        return shiftJis.decode(array);
      } catch {
        return new TextDecoder().decode(array);
      }
    }
  }

  function parameters(search) {
    const values = new Map();
    for (const pair of search.replace(/^\?/, "").split("&")) {
      if (pair === "") {
        continue;
      }
      const equals = pair.indexOf("=");
      const name = decodeValue(equals < 0 ? pair : pair.slice(0, equals));
      const value = equals < 0 ? "" : decodeValue(pair.slice(equals + 1));
      if (!values.has(name)) {
        values.set(name, []);
      }
      values.get(name).push(value);
    }
    return values;
  }

  // Repeated values and "|"-joined ones ("|CG|小説") alike.
  function listOf(values) {
    return values.flatMap((value) => value.split("|")).map((name) => name.trim()).filter((name) => name !== "");
  }

  // What the URL asks for: q and TOKEN (words), TRIAL, GENRE, the ATTR and
  // CONT operations, RANGE and page.
  function readQuery(search) {
    const values = parameters(search);
    const get = (name) => values.get(name) ?? [];
    const number = (name, fallback) => {
      const value = parseInt(get(name)[0] ?? "", 10);
      return Number.isFinite(value) && value > 0 ? value : fallback;
    };
    const trials = new Set(listOf(get("TRIAL")).map((name) => name.toUpperCase()));
    const fields = FIELDS.filter(([trial]) => trials.has(trial)).map(([, field]) => field);
    const query = {
      text: [...get("q"), ...get("TOKEN")].join(" ").trim(),
      fields: new Set(fields.length > 0 ? fields : FIELDS.map(([, field]) => field)),
      fieldsGiven: fields.length > 0,
      genres: get("GENRE").map((name) => name.trim()).filter((name) => name !== ""),
      range: Math.min(number("RANGE", DEFAULT_RANGE), 1000),
      page: number("page", 1),
    };
    for (const kind of ["ATTR", "CONT"]) {
      for (const operation of ["AND", "OR", "NOT"]) {
        query[operation + kind] = listOf(get(operation + kind));
      }
    }
    return query;
  }

  function queryString(query, page) {
    const pairs = [];
    const add = (name, value) => pairs.push(encodeURIComponent(name) + "=" + encodeURIComponent(value));
    if (query.text !== "") {
      add("q", query.text);
    }
    if (query.fieldsGiven) {
      FIELDS.filter(([, field]) => query.fields.has(field)).forEach(([trial]) => add("TRIAL", trial));
    }
    query.genres.forEach((name) => add("GENRE", name));
    for (const kind of ["ATTR", "CONT"]) {
      for (const operation of ["AND", "OR", "NOT"]) {
        query[operation + kind].forEach((name) => add(operation + kind, name));
      }
    }
    if (query.range !== DEFAULT_RANGE) {
      add("RANGE", String(query.range));
    }
    if (page > 1) {
      add("page", String(page));
    }
    return "?" + pairs.join("&");
  }

  // Conditions that narrow the items down besides the words.
  function narrows(query) {
    return (
      query.genres.length > 0 ||
      ["ATTR", "CONT"].some((kind) => ["AND", "OR", "NOT"].some((operation) => query[operation + kind].length > 0))
    );
  }

  // What the form keeps out of sight until asked.
  function hasFilters(query) {
    return query.fieldsGiven || narrows(query);
  }

  function hasConditions(query) {
    return words(query.text).length > 0 || narrows(query);
  }

  // --- The index -------------------------------------------------------

  // A list of numbers as the index writes it: the width of each number,
  // then the numbers in that many base-64 digits.
  const DIGITS = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
  const DIGIT_VALUES = new Uint8Array(128);
  [...DIGITS].forEach((digit, value) => {
    DIGIT_VALUES[digit.charCodeAt(0)] = value;
  });
  function numberList(text) {
    const width = text.charCodeAt(0) - 48;
    const numbers = new Int32Array(Math.floor((text.length - 1) / width));
    for (let i = 0, at = 1; i < numbers.length; ++i) {
      let number = 0;
      for (let digit = 0; digit < width; ++digit) {
        number = number * 64 + DIGIT_VALUES[text.charCodeAt(at++)];
      }
      numbers[i] = number;
    }
    return numbers;
  }

  // A column of entries joined by LF, with where each begins.
  class Entries {
    constructor(text) {
      this.text = text;
      const starts = [0];
      for (let lf = text.indexOf("\n"); lf !== -1; lf = text.indexOf("\n", lf + 1)) {
        starts.push(lf + 1);
      }
      starts.push(text.length + 1);
      this.starts = Int32Array.from(starts);
      this.count = starts.length - 1;
    }

    at(entry) {
      return this.text.slice(this.starts[entry], this.starts[entry + 1] - 1);
    }

    isEmpty(entry) {
      return this.starts[entry + 1] - this.starts[entry] === 1;
    }

    // Calls mark with each entry that holds word, once.
    find(word, mark) {
      const starts = this.starts;
      for (let at = this.text.indexOf(word); at !== -1; ) {
        let low = 0;
        let high = this.count - 1;
        while (low < high) {
          const middle = (low + high + 1) >> 1;
          if (starts[middle] <= at) {
            low = middle;
          } else {
            high = middle - 1;
          }
        }
        mark(low);
        at = this.text.indexOf(word, starts[low + 1]);
      }
    }
  }

  class Field {
    constructor(data, count) {
      this.data = data;
      this.count = count;
      this.ids = data.ids === undefined ? null : numberList(data.ids);
      this.shown = null;
      this.folded = null;
    }

    entries() {
      this.shown ??= new Entries(this.data.text);
      if (this.data.fold !== undefined) {
        this.folded ??= new Entries(this.data.fold);
      }
      return this.shown;
    }

    entryOf(item) {
      return this.ids ? this.ids[item] : item;
    }

    text(item) {
      return this.entries().at(this.entryOf(item));
    }

    // Sets hits[item] for every item whose folded text holds word.
    mark(word, hits) {
      const shown = this.entries();
      const folded = this.folded;
      const entryHits = new Uint8Array(shown.count);
      shown.find(word, (entry) => {
        if (folded === null || folded.isEmpty(entry)) {
          entryHits[entry] = 1;
        }
      });
      if (folded !== null) {
        folded.find(word, (entry) => {
          entryHits[entry] = 1;
        });
      }
      const ids = this.ids;
      for (let item = 0; item < this.count; ++item) {
        if (entryHits[ids ? ids[item] : item]) {
          hits[item] = 1;
        }
      }
    }
  }

  // The attributes or the contents of the items.
  class NameSets {
    constructor(index, singular) {
      this.names = index[singular + "s"];
      this.folds = index[singular + "Folds"];
      this.listed = index[singular + "sListed"];
      this.sets = index[singular + "Sets"];
      this.setOf = numberList(index[singular + "Set"]);
    }

    // The name ids that a name from the URL stands for.
    idsOf(name) {
      const folded = fold(name);
      const ids = [];
      this.folds.forEach((candidate, id) => {
        if (candidate === folded) {
          ids.push(id);
        }
      });
      return ids;
    }

    // Per set: does it pass the AND, OR and NOT lists of names?
    passing(andNames, orNames, notNames) {
      const and = andNames.map((name) => this.idsOf(name));
      const or = orNames.map((name) => this.idsOf(name));
      const not = notNames.map((name) => this.idsOf(name));
      return this.sets.map((set) => {
        const holds = (ids) => ids.some((id) => set.includes(id));
        return and.every(holds) && (or.length === 0 || or.some(holds)) && !not.some(holds);
      });
    }

    mark(word, hits) {
      const named = this.folds.map((name) => name.includes(word));
      const setHits = this.sets.map((set) => set.some((id) => named[id]));
      for (let item = 0; item < this.setOf.length; ++item) {
        if (setHits[this.setOf[item]]) {
          hits[item] = 1;
        }
      }
    }
  }

  class Index {
    constructor(data) {
      this.data = data;
      this.count = data.count;
      this.fields = {};
      for (const name of Object.keys(data.fields)) {
        this.fields[name] = new Field(data.fields[name], data.count);
      }
      this.attributes = new NameSets(data, "attribute");
      this.contents = new NameSets(data, "content");
      this.genre = numberList(data.genre);
      this.page = numberList(data.page);
    }

    searcher(field) {
      if (field === "attribute") {
        return this.attributes;
      }
      return field === "content" ? this.contents : this.fields[field];
    }

    // The numbers of the items the query finds, in the collection's order.
    search(query) {
      const count = this.count;
      const found = new Uint8Array(count).fill(1);
      const keep = (test) => {
        for (let item = 0; item < count; ++item) {
          if (found[item] && !test(item)) {
            found[item] = 0;
          }
        }
      };
      if (query.genres.length > 0) {
        const wanted = new Set(query.genres.map(fold));
        const genreHits = this.data.genreFolds.map((name) => wanted.has(name));
        keep((item) => genreHits[this.genre[item]]);
      }
      for (const [kind, sets] of [["ATTR", this.attributes], ["CONT", this.contents]]) {
        if (query["AND" + kind].length + query["OR" + kind].length + query["NOT" + kind].length > 0) {
          const passing = sets.passing(query["AND" + kind], query["OR" + kind], query["NOT" + kind]);
          keep((item) => passing[sets.setOf[item]]);
        }
      }
      for (const word of words(query.text)) {
        const hits = new Uint8Array(count);
        for (const field of query.fields) {
          this.searcher(field)?.mark(word, hits);
        }
        keep((item) => hits[item] === 1);
      }
      const items = [];
      for (let item = 0; item < count; ++item) {
        if (found[item]) {
          items.push(item);
        }
      }
      return items;
    }

    // The result's parts as plain strings; the address only when it is one
    // a link may take.
    item(number) {
      const address = this.fields.origin.text(number) + this.fields.path.text(number);
      const page = this.page[number];
      return {
        title: this.fields.title.text(number),
        author: this.fields.author.text(number),
        address: /^https?:\/\//i.test(address) ? address : "",
        listing: page > 0 ? this.data.pages[page - 1] : "",
        genre: this.data.genres[this.genre[number]] ?? "",
      };
    }
  }

  // --- The page --------------------------------------------------------

  const byId = (id) => document.getElementById(id);

  function element(tag, className, text) {
    const made = document.createElement(tag);
    if (className) {
      made.className = className;
    }
    if (text !== undefined) {
      made.textContent = text;
    }
    return made;
  }

  function resultElement(result) {
    const entry = element("li", "tessaly-result");
    const title = element(result.address ? "a" : "span", "tessaly-result-title", result.title);
    if (result.address) {
      title.href = result.address;
      title.rel = "noopener noreferrer";
    }
    entry.append(title);
    if (result.address) {
      entry.append(element("span", "tessaly-result-address", result.address));
    }
    if (result.author) {
      entry.append(element("span", "tessaly-result-author", "作者: " + result.author));
    }
    if (result.listing) {
      const listing = element("a", "tessaly-result-listing", "掲載: " + result.genre);
      listing.href = result.listing;
      entry.append(listing);
    }
    return entry;
  }

  function choice(type, name, value, label, checked) {
    const wrapper = element("label");
    const input = element("input");
    input.type = type;
    input.name = name;
    input.value = value;
    input.checked = checked;
    wrapper.append(input, " ", label);
    return wrapper;
  }

  // The conditions part of the form, made when first shown.
  class Conditions {
    constructor(index) {
      this.index = index;
      this.built = false;
    }

    build(query) {
      this.built = true;
      byId("tessaly-fields").replaceChildren(
        ...FIELDS.map(([trial, field, label]) => choice("checkbox", "TRIAL", trial, label, query.fields.has(field)))
      );
      const wanted = new Set(query.genres.map(fold));
      const genres = this.index.data.genres;
      byId("tessaly-genre-set").hidden = genres.length === 0;
      byId("tessaly-genres").replaceChildren(
        ...genres.map((name, g) => choice("checkbox", "GENRE", name, name, wanted.has(this.index.data.genreFolds[g])))
      );
      for (const [kind, sets, box] of [
        ["ATTR", this.index.attributes, "attribute"],
        ["CONT", this.index.contents, "content"],
      ]) {
        const chosen = new Map();
        for (const [operation] of OPERATIONS.slice(1)) {
          query[operation + kind].forEach((name) => chosen.set(fold(name), operation));
        }
        const names = sets.names.slice(0, sets.listed);
        byId(`tessaly-${box}-set`).hidden = names.length === 0;
        byId(`tessaly-${box}s`).replaceChildren(
          ...names.map((name, id) => {
            const wrapper = element("label", "", name);
            const select = element("select");
            select.dataset.kind = kind;
            select.dataset.name = name;
            for (const [operation, label] of OPERATIONS) {
              const option = element("option", "", label);
              option.value = operation;
              option.selected = chosen.get(sets.folds[id]) === operation;
              select.append(option);
            }
            wrapper.append(select);
            return wrapper;
          })
        );
      }
    }

    // The query the form now asks for; what it does not show is kept.
    read(query) {
      const asked = { ...query, text: byId("tessaly-query").value.trim(), range: Number(byId("tessaly-range").value) };
      if (!this.built) {
        return asked;
      }
      const trials = [...byId("tessaly-fields").querySelectorAll("input:checked")].map((input) => input.value);
      const fields = FIELDS.filter(([trial]) => trials.includes(trial)).map(([, field]) => field);
      asked.fieldsGiven = fields.length > 0 && fields.length < FIELDS.length;
      asked.fields = new Set(asked.fieldsGiven ? fields : FIELDS.map(([, field]) => field));
      asked.genres = [...byId("tessaly-genres").querySelectorAll("input:checked")].map((input) => input.value);
      for (const kind of ["ATTR", "CONT"]) {
        for (const [operation] of OPERATIONS.slice(1)) {
          asked[operation + kind] = [];
        }
      }
      for (const select of document.querySelectorAll("#tessaly-options select[data-kind]")) {
        if (select.value !== "") {
          asked[select.value + select.dataset.kind].push(select.dataset.name);
        }
      }
      return asked;
    }
  }

  class Page {
    constructor(index) {
      this.index = index;
      this.conditions = new Conditions(index);
      this.query = null;
      this.firstShown = false;
      const range = byId("tessaly-range");
      range.replaceChildren(
        ...RANGES.map((size) => {
          const option = element("option", "", `${size} 件`);
          option.value = String(size);
          return option;
        })
      );
      const options = byId("tessaly-options");
      options.addEventListener("toggle", () => {
        if (options.open && !this.conditions.built) {
          this.conditions.build(this.query);
        }
      });
      byId("tessaly-search-form").addEventListener("submit", (event) => {
        event.preventDefault();
        this.go(this.conditions.read(this.query), 1);
      });
      window.addEventListener("popstate", () => this.show(readQuery(location.search)));
    }

    // Moves to the query's page of results without reloading the index.
    go(query, page) {
      const search = queryString(query, page);
      try {
        history.pushState(null, "", search);
      } catch {
        location.search = search;
        return;
      }
      this.show(readQuery(search));
      window.scrollTo(0, 0);
    }

    show(query) {
      this.query = query;
      byId("tessaly-query").value = query.text;
      const range = byId("tessaly-range");
      if (![...range.options].some((option) => option.value === String(query.range))) {
        const option = element("option", "", `${query.range} 件`);
        option.value = String(query.range);
        range.append(option);
      }
      range.value = String(query.range);
      if (this.conditions.built || hasFilters(query)) {
        this.conditions.build(query);
        byId("tessaly-options").open ||= hasFilters(query);
      }
      const count = byId("tessaly-count");
      const miss = byId("tessaly-miss");
      const results = byId("tessaly-results");
      const pager = byId("tessaly-pager");
      if (!hasConditions(query)) {
        count.hidden = miss.hidden = pager.hidden = true;
        results.replaceChildren();
        document.documentElement.dataset.searchState = "idle";
        return;
      }
      const found = this.index.search(query);
      const pages = Math.max(1, Math.ceil(found.length / query.range));
      const page = Math.min(query.page, pages);
      const first = (page - 1) * query.range;
      const shown = found.slice(first, first + query.range);
      results.start = first + 1;
      results.replaceChildren(...shown.map((item) => resultElement(this.index.item(item))));
      count.hidden = found.length === 0;
      count.textContent =
        found.length > shown.length
          ? `${found.length} 件見つかりました（${first + 1}〜${first + shown.length} 件目）`
          : `${found.length} 件見つかりました`;
      miss.hidden = found.length !== 0;
      pager.hidden = pages === 1;
      this.pagerLink(byId("tessaly-previous"), query, page - 1, pages);
      this.pagerLink(byId("tessaly-next"), query, page + 1, pages);
      document.documentElement.dataset.searchState = "done";
      document.documentElement.dataset.found = String(found.length);
      if (!this.firstShown) {
        this.firstShown = true;
        document.documentElement.dataset.firstResultsMs = performance.now().toFixed(1);
      }
    }

    pagerLink(link, query, page, pages) {
      link.hidden = page < 1 || page > pages;
      link.href = queryString(query, page);
      link.onclick = (event) => {
        event.preventDefault();
        this.go(query, page);
      };
    }
  }

  function start() {
    document.documentElement.dataset.indexReadMs = performance.now().toFixed(1);
    const data = window.tessalySearchIndex;
    if (!data || !data.fields) {
      const miss = byId("tessaly-miss");
      miss.textContent = "検索データを読み込めませんでした。";
      miss.hidden = false;
      document.documentElement.dataset.searchState = "error";
      return;
    }
    new Page(new Index(data)).show(readQuery(location.search));
  }

  return { fold, start };
})();

if (document.getElementById("tessaly-search-form")) {
  TessalySearch.start();
}
