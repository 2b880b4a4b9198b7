#!/usr/bin/python3
"""Writes a deterministic web site for the crawl benchmark.

A tree of pages with fan-out F and levels 0..L (F=20, L=3: 1 + 20 + 400 + 8000 = 8421 pages).
Page "/index.html" is level 0; a page at level n >= 1 is "/s/<i1>/.../<in>.htm", and the pages it
links to one level down live in the folder beside it ("<in>/<c>.htm"). Every page links to its
children (relative, "./", "/abs" and absolute forms mixed), to two siblings and its parent
(repeats), to one .gif and one .jpg (rejected by the default must-not words), to a missing page
now and then (404), to a child folder without its trailing "/" now and then (a 301 from the
server), and carries mailto: and javascript: links that crawlers ignore. Bodies are 2-40 KB,
a third of them under 4096 bytes.

usage: make_site.py OUT_DIR PORT [--fanout F] [--levels L] [--seed S]
Prints the number of pages written.
"""
import argparse
import os
import random

WORDS = ("alpha beta gamma delta epsilon zeta theta iota kappa lambda omicron sigma tau upsilon "
         "phi chi psi omega lorem ipsum dolor sit amet consectetur adipiscing elit sed do").split()


def page_path(node):
    return "/index.html" if not node else "/s/" + "/".join(map(str, node)) + ".htm"


def folder_of(node):
    """The folder of the pages one level below `node`."""
    return "/s" if not node else "/s/" + "/".join(map(str, node))


def link_form(rng, source, target, port):
    """One of the forms a page may use to name `target` (a path), resolved against `source`."""
    src_dir = source.rsplit("/", 1)[0]
    choice = rng.random()
    if choice < 0.15:
        return "http://127.0.0.1:%d%s" % (port, target)
    if choice < 0.30:
        return target
    if target.startswith(src_dir + "/"):
        rest = target[len(src_dir) + 1:]
        return ("./" + rest) if choice < 0.45 else rest
    parent_dir = src_dir.rsplit("/", 1)[0]
    if parent_dir and target.startswith(parent_dir + "/") and "/" not in target[len(parent_dir) + 1:]:
        return "../" + target[len(parent_dir) + 1:]
    return target


def body_text(rng, size):
    out = []
    length = 0
    while length < size:
        line = " ".join(rng.choice(WORDS) for _ in range(12))
        out.append("<p>" + line + "</p>\n")
        length += len(out[-1])
    return "".join(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("port", type=int)
    parser.add_argument("--fanout", type=int, default=20)
    parser.add_argument("--levels", type=int, default=3)
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()
    rng = random.Random(args.seed)

    count = 0
    todo = [()]
    while todo:
        node = todo.pop()
        path = page_path(node)
        links = []
        if len(node) < args.levels:
            for c in range(args.fanout):
                child = node + (c,)
                todo.append(child)
                links.append(link_form(rng, path, page_path(child), args.port))
            if rng.random() < 0.02 * args.fanout:
                links.append(link_form(rng, path, folder_of(node), args.port))  # 301 to "folder/"
        if node:
            for s in rng.sample(range(args.fanout), 2):
                links.append(link_form(rng, path, page_path(node[:-1] + (s,)), args.port))
            links.append(link_form(rng, path, page_path(node[:-1]), args.port))
        if rng.random() < 0.6:  # about 3% of the page links
            links.append(link_form(rng, path, folder_of(node) + "/missing%d.htm" % rng.randrange(1000), args.port))
        links += ["pic%d.gif" % len(node), "/img/photo.jpg", "mailto:someone@example.org", "javascript:void(0)"]
        rng.shuffle(links)

        size = rng.randrange(2048, 4096) if rng.random() < 1 / 3 else rng.randrange(4096, 40960)
        anchors = "".join('<a href="%s">link %d</a>\n' % (link, i) for i, link in enumerate(links))
        html = ("<html><head><title>Page %s</title></head><body>\n%s%s</body></html>\n"
                % (path, anchors, body_text(rng, max(0, size - len(anchors) - 80))))
        target = os.path.join(args.out, path.lstrip("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "w") as f:
            f.write(html)
        count += 1
        # A folder link must answer 301 and then a page: give every child folder an index.
        if len(node) < args.levels:
            folder = os.path.join(args.out, folder_of(node).lstrip("/"))
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, "index.html"), "w") as f:
                f.write("<html><head><title>Folder</title></head><body>folder</body></html>\n")
    print(count)


if __name__ == "__main__":
    main()
