#!/usr/bin/env python3
"""Makes one standalone HTML page of a Markdown page, with Python-Markdown (python3-markdown).

    html_page.py <page.md> <page.html>

The page's first level-one heading becomes its title; its language is Japanese, the only
language the pages written this way are in.
"""
import html, sys

import markdown

STYLE = """
body { max-width: 52em; margin: 2em auto; padding: 0 1em; line-height: 1.7;
       font-family: "IPAPGothic", "IPAGothic", sans-serif; color: #222; }
h1, h2, h3 { color: #064; line-height: 1.3; }
img { max-width: 100%; border: 1px solid #ccc; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; text-align: left; }
code, pre { background: #f3f1ea; }
pre { padding: 0.6em 1em; overflow-x: auto; }
"""


def main():
    source, target = sys.argv[1:3]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    title = next((line[2:].strip() for line in text.splitlines() if line.startswith("# ")), "")
    body = markdown.markdown(text, extensions=["tables", "sane_lists"], output_format="html")
    page = (f'<!DOCTYPE html>\n<html lang="ja">\n<head>\n<meta charset="utf-8">\n'
            f'<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            f"<title>{html.escape(title)}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n"
            f"{body}\n</body>\n</html>\n")
    with open(target, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
