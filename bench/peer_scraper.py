#!/usr/bin/env python3
"""The peer of the site-rule benchmark: the same extraction done the way
plugin-based search tools scrape, with Python's html.parser.

Usage: peer_scraper.py DIR
Reads DIR/siteN.html (N = 1..8, and optional DIR/siteN_*.html variants),
decodes each as its site serves it (UTF-8 when declared early, else GBK),
extracts title, link, size and date of every hit up to the site's record
limit, and prints one line per page (times are processor time):
    NAME hits=H seconds_per_page=T hits_per_second=R
"""
import os
import sys
import time
from html.parser import HTMLParser
from urllib.parse import quote, unquote

LIMITS = {1: 30, 2: 10, 3: 20, 4: 10, 5: 20, 6: 20, 7: 30, 8: 10}
MONTHS = {m: i + 1 for i, m in enumerate(
    "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split())}


class SiteParser(HTMLParser):
    """Collects hits as dicts; subclasses fill `cur` and call emit()."""

    # The text inside each of these fields is added to the hit's key.
    TEXT_FIELDS = {}

    def __init__(self, limit):
        super().__init__(convert_charrefs=True)
        self.limit = limit
        self.hits = []
        self.cur = None
        self.field = None
        self.done = False

    def emit(self):
        if self.cur is not None and not self.done:
            self.hits.append(self.cur)
            if len(self.hits) >= self.limit:
                self.done = True
        self.cur = None
        self.field = None

    def add(self, key, data):
        if self.cur is not None and not self.done:
            self.cur[key] = self.cur.get(key, "") + data

    def handle_data(self, data):
        if self.field in self.TEXT_FIELDS:
            self.add(self.TEXT_FIELDS[self.field], data)


class Site1(SiteParser):
    TEXT_FIELDS = {"files-size": "size", "convert-date": "date"}

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "tr":
            self.cur = {}
        elif tag == "td" and a.get("class") in ("files-size", "convert-date"):
            self.field = a["class"]
        elif tag == "a" and a.get("class") == "btn" and self.cur is not None:
            h = a.get("href", "").rsplit("/", 1)[-1]
            t = a.get("title", "")
            self.cur.update(title=t, link="magnet:?xt=urn:btih:%s&dn=%s" % (h, quote(t)))

    def handle_endtag(self, tag):
        if tag == "td":
            self.field = None
        elif tag == "tr" and self.cur and self.cur.get("title"):
            self.emit()


class Site2(SiteParser):
    TEXT_FIELDS = {"title": "title"}

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "td" and a.get("height") == "18":
            self.cur = {"title": "", "size": "未知"}
        elif tag == "b" and self.cur is not None:
            self.field = "title"
        elif tag == "a" and self.cur is not None and a.get("href", "").startswith("/torrent/"):
            h = a["href"][len("/torrent/"):-len(".html")]
            self.cur["link"] = "magnet:?xt=urn:btih:%s&dn=%s" % (h, quote(self.cur["title"]))

    def handle_endtag(self, tag):
        if tag == "b":
            self.field = None
        elif tag == "table" and self.cur and self.cur.get("title"):
            self.emit()

    def handle_data(self, data):
        super().handle_data(data)
        if self.field != "title" and self.cur is not None and "|文件数:" in data:
            self.cur["date"] = data.split("|文件数:", 1)[1].split(" | ", 1)[1][:10]


class Site3(SiteParser):
    TEXT_FIELDS = {"name": "title", "date": "date"}

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "tr":
            self.cur = {"size": "未知"}
        elif tag == "td" and a.get("class") in ("name", "date"):
            self.field = a["class"]
        elif tag == "a" and "title" in a and self.cur is not None:
            self.cur["link"] = a.get("href", "")

    def handle_endtag(self, tag):
        if tag == "td":
            self.field = None
        elif tag == "tr" and self.cur and self.cur.get("date"):
            raw = self.cur["date"]
            month = next((str(n) for m, n in MONTHS.items() if m in raw), "")
            parts = raw.replace(",", " ").split()
            self.cur["date"] = "%s-%s-%s" % (parts[-1], month, parts[1]) if len(parts) >= 3 else ""
            self.emit()


class Site4(SiteParser):
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "div" and a.get("class") == "x-item":
            self.cur = {"date": "未知"}
        elif tag == "a" and a.get("class") == "title" and self.cur is not None:
            link = a.get("href", "")
            self.cur["link"] = link
            self.cur["title"] = unquote(link.split("&dn=", 1)[1]) if "&dn=" in link else ""
        elif tag == "div" and a.get("class") == "tail":
            self.field = "tail"

    def handle_endtag(self, tag):
        if tag == "div" and self.field == "tail":
            self.emit()

    def handle_data(self, data):
        if self.field == "tail" and "Size:" in data:
            self.cur["size"] = data.split("Size:", 1)[1].split("  Requests", 1)[0]


class Site5(SiteParser):
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "li" and "hash" in a:
            self.cur = {"date": "未知", "title": ""}
        elif tag == "tr" and a.get("class", "").startswith("row"):
            self.cur = {"date": "未知", "title": "", "size": ""}
            self.field = None
            self.tds = 0
        elif self.cur is None:
            return
        elif tag == "a" and a.get("href", "").startswith("ed2k"):
            self.cur["link"] = a["href"]
        elif tag == "br":
            self.field = "title"
        elif tag == "small":
            self.field = "small"
        elif tag == "td":
            self.tds += 1
            self.field = {1: "title", 2: "tsize"}.get(self.tds)

    def handle_endtag(self, tag):
        if tag in ("small", "td"):
            self.field = None
        elif tag in ("li", "tr") and self.cur is not None:
            self.emit()

    def handle_data(self, data):
        if self.field == "title":
            self.add("title", data.strip())
        elif self.field == "small":
            self.cur["size"] = data.split("大小:", 1)[-1].strip("\xa0 ")
            self.field = None
        elif self.field == "tsize":
            self.add("size", data.replace(" ", ""))


class Site6(SiteParser):
    TEXT_FIELDS = {"title": "title"}

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "div" and a.get("class") == "r":
            self.cur = {"values": []}
        elif self.cur is None:
            return
        elif tag == "a" and a.get("href", "").startswith("/hash/"):
            self.cur["link"] = "magnet:?xt=urn:btih:" + a["href"][len("/hash/"):]
        elif tag == "h5":
            self.field = "title"
        elif tag == "span" and a.get("class") == "prop_val":
            self.field = "value"
            self.cur["values"].append("")
        elif tag == "a" and a.get("href", "").startswith("magnet:"):
            self.field = "end"

    def handle_endtag(self, tag):
        if tag == "h5" or (tag == "span" and self.field == "value"):
            self.field = None
        elif tag == "a" and self.field == "end":
            values = self.cur.pop("values") + ["", ""]
            if "link" not in self.cur:
                self.done = True
                return
            self.cur["date"], self.cur["size"] = values[0], values[1]
            self.emit()

    def handle_data(self, data):
        super().handle_data(data)
        if self.field == "value":
            self.cur["values"][-1] += data


class Site7(SiteParser):
    TEXT_FIELDS = {"title": "title", "tsize": "size", "ttime": "date"}

    def __init__(self, limit):
        super().__init__(limit)
        self.tag = "demo7.localhost"

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "li" and a.get("class") == "tableli":
            self.cur = {"title": ""}
        elif self.cur is None:
            return
        elif tag == "a" and "class" in a:
            self.cur["kind"] = a["class"]
            self.field = None
        elif tag == "a":
            self.field = "title"
        elif tag == "div" and a.get("class") in ("thash", "tsize", "ttime"):
            self.field = a["class"]

    def handle_endtag(self, tag):
        if tag == "div" and self.field in ("thash", "tsize", "ttime"):
            self.field = None
        elif tag == "a" and self.field == "title":
            self.field = None
        elif tag == "li" and self.cur is not None:
            kind = self.cur.pop("kind", "")
            if kind == "ED2K":
                self.done = True
                return
            h = self.cur.pop("hash", "")
            self.cur["link"] = ("magnet:?xt=urn:btih:%s&dn=[%s]%s" % (h, self.tag, quote(self.cur["title"]))
                                if kind == "MAGNET" else kind)
            self.emit()

    def handle_data(self, data):
        super().handle_data(data)
        if self.field == "thash":
            self.cur["hash"] = data.split("HASH值：", 1)[-1]


class Site8(SiteParser):
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "div" and a.get("class") == "search-item":
            self.cur = {}
        elif self.cur is None:
            return
        elif tag == "a" and a.get("target") == "_blank":
            self.field = "title"
        elif tag == "a" and a.get("href", "").startswith("magnet:"):
            self.cur["link"] = a["href"]
        elif tag == "a" and a.get("href", "").startswith("thunder:"):
            self.field = "end"

    def handle_endtag(self, tag):
        if tag == "a" and self.field == "title":
            self.field = None
        elif tag == "a" and self.field == "end":
            self.emit()
        elif tag == "b":
            self.field = None

    def handle_data(self, data):
        if self.field == "title":
            self.add("title", data)
        elif self.cur is not None and data.startswith("创建时间："):
            self.field = "date"
        elif self.cur is not None and data.startswith("文件大小："):
            self.field = "size"
        elif self.field in ("date", "size"):
            self.add(self.field, data.replace(" ", "").strip())


PARSERS = {1: Site1, 2: Site2, 3: Site3, 4: Site4, 5: Site5, 6: Site6, 7: Site7, 8: Site8}


def decode(data):
    return data.decode("utf-8", "replace") if b"utf-8" in data[:503] else data.decode("gbk", "replace")


def scrape(site, text):
    parser = PARSERS[site](LIMITS[site])
    parser.feed(text)
    parser.close()
    return parser.hits


def main():
    directory = sys.argv[1]
    for name in sorted(os.listdir(directory)):
        if not (name.startswith("site") and name.endswith(".html")):
            continue
        site = int(name[4])
        with open(os.path.join(directory, name), "rb") as f:
            text = decode(f.read())
        hits = scrape(site, text)
        runs, start = 0, time.process_time()
        while True:
            scrape(site, text)
            runs += 1
            elapsed = time.process_time() - start
            if elapsed >= 0.5 and runs >= 3:
                break
        per_page = elapsed / runs
        print("%s hits=%d seconds_per_page=%.6g hits_per_second=%.6g"
              % (name[:-5], len(hits), per_page, len(hits) / per_page if per_page else 0))
        if os.environ.get("PEER_SHOW_HITS"):
            for hit in hits[:3]:
                print("   ", hit)


if __name__ == "__main__":
    main()
