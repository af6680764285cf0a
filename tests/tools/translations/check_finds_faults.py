#!/usr/bin/env python3
# check_finds_faults.py EXTRACT_TEXTS SOURCE_DIR TS_FILE: damages copies of TS_FILE one way at a
# time and expects `extract-texts SOURCE_DIR --check` to fail on each and to name the damage.
import pathlib
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

tool, root, ts = sys.argv[1:4]


def damaged(change):
    tree = ElementTree.parse(ts)
    change(tree.getroot())
    return tree


def message(root, context, source):
    for c in root.iter("context"):
        if c.findtext("name") == context:
            for m in c.iter("message"):
                if m.findtext("source") == source:
                    return c, m
    raise SystemExit(f"{context}: {source} is not in {ts}")


def remove(root):
    c, m = message(root, "messages", "输入密码错误!")
    c.remove(m)


def unfinish(root):
    message(root, "dialog 291", "用户名:")[1].find("translation").set("type", "unfinished")


def empty(root):
    message(root, "skin", "通道")[1].find("translation").text = ""


def drop_placeholder(root):
    message(root, "buttons", "%1 属性")[1].find("translation").text = "Properties"


def add_stale(root):
    c = root.find("context")
    m = ElementTree.SubElement(c, "message")
    ElementTree.SubElement(m, "source").text = "旧的文字"
    ElementTree.SubElement(m, "translation").text = "Old text"


cases = [(remove, "missing: messages: '输入密码错误!'"),
         (unfinish, "unfinished: dialog 291: '用户名:'"),
         (empty, "not translated: skin: '通道'"),
         (drop_placeholder, "placeholders differ: buttons: '%1 属性'"),
         (add_stale, "no longer in the program: buttons: '旧的文字'")]
failures = 0
with tempfile.TemporaryDirectory() as folder:
    for change, expected in cases:
        copy = pathlib.Path(folder) / "quadrel_xx.ts"
        damaged(change).write(copy, encoding="utf-8", xml_declaration=True)
        run = subprocess.run([sys.executable, tool, root, "--check", str(copy)],
                             capture_output=True, text=True)
        if run.returncode != 1 or expected not in run.stdout:
            print(f"{change.__name__}: exit {run.returncode}, expected {expected!r} in:\n"
                  f"{run.stdout}{run.stderr}")
            failures += 1
print(f"{len(cases) - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
