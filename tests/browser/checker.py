#!/usr/bin/python3
"""Loads the pages written by make_pages in headless Chromium, with scripts on
and off, and checks that each shows exactly one working link with the
expected address and text; with scripts on, the script form shows none
under a strict policy or past a "</script>" in its description. Two address
harvesters read every page too: one over the raw text must miss the
address, one that first decodes character references must find it.

Usage: checker.py <make_pages program> <work directory>
"""

import concurrent.futures
import html
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from html.parser import HTMLParser

CHROMIUM = "/usr/bin/chromium"
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-quic",
]
# Two cores: more browsers at once only slow each other down.
PARALLEL_LOADS = 2
LOAD_TIMEOUT_SECONDS = 40

# What an address harvester looks for: e-mail addresses and web addresses.
HARVEST = re.compile(r"[\w.+-]+@[\w-]+(?:\.[\w-]+)+|https?://[^\s\"'<>]+")

VOID_ELEMENTS = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                 "meta", "source", "track", "wbr"}


class Node:
    def __init__(self, tag, attrs, parent):
        self.tag = tag
        self.attrs = attrs
        self.parent = parent
        self.children = []  # Node or str

    def elements(self):
        for child in self.children:
            if isinstance(child, Node):
                yield child
                yield from child.elements()

    def inside(self, tag):
        node = self.parent
        while node is not None and node.tag != tag:
            node = node.parent
        return node is not None

    def previous_element(self):
        siblings = self.parent.children
        for child in reversed(siblings[:siblings.index(self)]):
            if isinstance(child, Node):
                return child
        return None

    def inner_markup(self):
        parts = []
        for child in self.children:
            if isinstance(child, str):
                parts.append(html.escape(child, quote=False))
                continue
            attrs = "".join(f' {name}="{html.escape(value or "")}"'
                            for name, value in child.attrs)
            parts.append(f"<{child.tag}{attrs}>")
            if child.tag not in VOID_ELEMENTS:
                parts.append(child.inner_markup() + f"</{child.tag}>")
        return "".join(parts)


class TreeBuilder(HTMLParser):
    """A small tree from the serialised DOM. When scripts ran, the browser
    kept <noscript> content as text, so it is read as text here too."""

    def __init__(self, noscript_is_text):
        super().__init__(convert_charrefs=True)
        if noscript_is_text:
            self.CDATA_CONTENT_ELEMENTS = HTMLParser.CDATA_CONTENT_ELEMENTS + ("noscript",)
        self.root = Node("#root", [], None)
        self.current = self.root

    def handle_starttag(self, tag, attrs):
        node = Node(tag, attrs, self.current)
        self.current.children.append(node)
        if tag not in VOID_ELEMENTS:
            self.current = node

    def handle_endtag(self, tag):
        node = self.current
        while node is not self.root and node.tag != tag:
            node = node.parent
        if node is not self.root:
            self.current = node.parent

    def handle_data(self, data):
        self.current.children.append(data)


def parse(markup, noscript_is_text=False):
    builder = TreeBuilder(noscript_is_text)
    builder.feed(markup)
    builder.close()
    return builder.root


def dump_dom(page, scripts):
    """The page's DOM after load, as Chromium serialises it."""
    profile = tempfile.mkdtemp(prefix="obrello-browser-")
    try:
        flags = CHROMIUM_FLAGS + [f"--user-data-dir={profile}"]
        if not scripts:
            # The profile's content setting, not --blink-settings: with
            # scriptEnabled=false, --dump-dom itself returns nothing.
            os.makedirs(os.path.join(profile, "Default"))
            with open(os.path.join(profile, "Default", "Preferences"), "w") as prefs:
                json.dump({"profile": {"default_content_setting_values": {"javascript": 2}}},
                          prefs)
        url = "file://" + os.path.abspath(page)
        result = subprocess.run([CHROMIUM] + flags + ["--dump-dom", url],
                                capture_output=True, timeout=LOAD_TIMEOUT_SECONDS)
        dom = result.stdout.decode("utf-8", errors="replace")
        if result.returncode != 0 or "<html" not in dom:
            raise RuntimeError(f"chromium exit {result.returncode}, no DOM; stderr tail: "
                               + result.stderr.decode(errors="replace")[-500:])
        return dom
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def place_problem(page, scripts, anchors):
    """Why the anchors are not where this form and mode must put them, or None."""
    # The policy or a "</script>" in the description stops the script, and <noscript> is ignored.
    if (page["form"] == "script" and scripts
            and (page["strict_policy"] or "</script>" in page["description"])):
        return "a link got through" if anchors else None
    if len(anchors) != 1:
        return f"expected exactly one <a> element, found {len(anchors)}"
    anchor = anchors[0]
    if page["form"] == "anchor":
        return None
    if not scripts:
        return None if anchor.inside("noscript") else "the link is not inside <noscript>"
    previous = anchor.previous_element()
    written = previous is not None and previous.tag == "script"
    return None if written else "the link is not the one written by the script"


def check_load(page, scripts, dom):
    """(check name, problem or None) for one loaded page: its <a> elements with an href."""
    anchors = [node for node in parse(dom, noscript_is_text=scripts).elements()
               if node.tag == "a" and "href" in dict(node.attrs)]
    problem = place_problem(page, scripts, anchors)
    if problem or not anchors:
        return [("link", problem)]
    anchor = anchors[0]
    href = dict(anchor.attrs).get("href")
    want_inner = parse(page["description"]).inner_markup()
    got_inner = anchor.inner_markup()
    return [
        ("link", None),
        ("href", None if href == page["uri"] else
         f"got {ascii(href)}, expected {ascii(page['uri'])}"),
        ("text", None if got_inner == want_inner else
         f"got {ascii(got_inner)}, expected {ascii(want_inner)}"),
    ]


def harvest_checks(workdir, page):
    """What the two harvesters find of the page's address."""
    uri = page["uri"]
    address = uri[len("mailto:"):].split("?")[0] if uri.startswith("mailto:") else uri
    with open(os.path.join(workdir, page["file"]), encoding=page["charset"]) as source:
        raw = source.read()
    return [
        ("raw robot", "found the address" if address in HARVEST.findall(raw) else None),
        ("decoding robot", None if address in HARVEST.findall(html.unescape(raw)) else
         "missed the address"),
    ]


def run_load(workdir, page, scripts):
    try:
        return check_load(page, scripts, dump_dom(os.path.join(workdir, page["file"]), scripts))
    except (RuntimeError, subprocess.TimeoutExpired, OSError) as error:
        return [("load", str(error))]


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: checker.py <make_pages program> <work directory>")
    make_pages, workdir = sys.argv[1], sys.argv[2]
    if not os.access(CHROMIUM, os.X_OK):
        print(f"browser: {CHROMIUM} is missing; install the chromium package")
        print("browser: 0 passed, 1 failed")
        return 1
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)
    subprocess.run([make_pages, workdir], check=True)
    with open(os.path.join(workdir, "manifest.json"), encoding="utf-8") as manifest:
        pages = json.load(manifest)["pages"]

    started = time.monotonic()
    # A strict policy matters only where scripts run.
    loads = [(page, scripts) for page in pages
             for scripts in ((True,) if page["strict_policy"] else (True, False))]
    with concurrent.futures.ThreadPoolExecutor(PARALLEL_LOADS) as pool:
        results = list(pool.map(lambda load: run_load(workdir, *load), loads))
    results += [harvest_checks(workdir, page) for page in pages]
    loads += [(page, None) for page in pages]

    passed = failed = 0
    for (page, scripts), checks in zip(loads, results):
        mode = {True: "scripts on ", False: "scripts off", None: "page text  "}[scripts]
        for name, problem in checks:
            label = f"{page['file']:<20} {mode}  {name}"
            if problem:
                failed += 1
                print(f"FAIL {label:<40} {problem}")
            else:
                passed += 1
                print(f"ok   {label}")
    print(f"({len(loads) - len(pages)} page loads in {time.monotonic() - started:.1f} s)")
    print(f"browser: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
