#!/usr/bin/python3
"""The real Velkaro on a real X server, read through the accessibility bus: what the window and
its boxes show, driven by the mouse and keyboard (xdotool) as a surveyor would drive it.

Usage (inside dbus-run-session, with DISPLAY set): window_e2e.py VELKARO VELKARO_CONVERT EXAMPLE
Covers: the window and its texts, Browse through the real file chooser, a conversion to each
format with the bytes velkaro-convert writes, the question before an existing output is
replaced (取消 keeps it, 替换 replaces it), an edited format field, the warnings of sources that
stop early or hold no point, a read-only output, the about box from the window menu, and Esc
ending the program with status 0.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

VELKARO, CONVERT, EXAMPLE = sys.argv[1:4]
TITLE = "RTK格式转换工具"


def fail(message):
    sys.exit("FAIL: " + message)


def wait_for(what, probe, timeout=15.0):
    """Polls probe until it returns something true; fails naming what was awaited."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            found = probe()
        except Exception:  # the tree changes while it is walked
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def descendants(node):
    for child in children(node):
        if child is not None:
            yield child
            yield from descendants(child)


def find(node, role, name=None):
    for item in descendants(node):
        if item.getRoleName() == role and (name is None or item.name == name):
            return item
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((a for a in children(desktop) if a is not None and a.name == "Velkaro"), None)


def top_windows(app):
    return [w for w in children(app) if w is not None and w.getRoleName() in ("dialog", "alert")]


def window_named(app, name):
    return next((w for w in top_windows(app) if w.name == name), None)


def click(node, button=1):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                    str(box.y + box.height // 2), "click", str(button)], check=True)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "50", *names], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


class Box:
    """A message box or question as shown: its title, its text, its buttons and whether it shows
    an icon (the icon's label is an image while it shows one)."""

    def __init__(self, window):
        self.window = window
        self.title = window.name
        labels = [n.name for n in descendants(window) if n.getRoleName() == "label" and n.name]
        self.text = "\n".join(labels)
        self.buttons = {n.name: n for n in descendants(window) if n.getRoleName() == "push button"}
        self.icon = any(n.getRoleName() == "image" for n in descendants(window))


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def next_box(app):
    """The box that opened over the main window, once it has stopped moving into place."""
    def probe():
        others = [w for w in top_windows(app) if w.name != TITLE]
        return others[0] if others and others[0].childCount else None
    window = wait_for("a message box", probe)
    last = None
    for _ in range(50):
        now = extents(window)
        if now == last:
            break
        last = now
        time.sleep(0.1)
    return Box(window)


def close_box(app, box, button="OK"):
    name = next((n for n in box.buttons if n.replace("&", "") in (button, "确定", "OK")), None)
    if name is None:
        fail("no button %s in the box %r: %s" % (button, box.text, list(box.buttons)))
    click(box.buttons[name])
    wait_for("the box %r to close" % box.text, lambda: box.window not in top_windows(app))


def expect_box(app, main, text, title, button="OK", key=None, icon=None):
    """Checks the next box's text, title and (unless None) icon, then closes it with button, or
    with key if given."""
    box = next_box(app)
    if box.text != text or box.title != title or icon not in (None, box.icon):
        fail("box %r titled %r with%s an icon, expected %r titled %r" %
             (box.text, box.title, "" if box.icon else "out", text, title))
    if key is None:
        close_box(app, box, button)
        return
    keys(key)
    wait_for("the box %r to close" % box.text, lambda: box.window not in top_windows(app))


def browse(app, main, path):
    click(find(main, "push button", "浏览..."))
    chooser = wait_for("the file chooser", lambda: next(
        (w for w in top_windows(app) if w.name != TITLE and find(w, "text") is not None), None))
    time.sleep(0.3)  # the chooser's field takes the focus once it is shown
    type_text(path)
    keys("Return")
    wait_for("the file chooser to close", lambda: chooser not in top_windows(app))


def display_text(main):
    labels = [n for n in children(main) if n.getRoleName() == "label"]
    return next(n.name for n in labels if n.name not in ("选择源文件:", "选择转换格式:"))


def pick_format(main, steps):
    """Picks a list item with the arrow keys in the format field, as the keyboard does."""
    click(find(main, "combo box").getChildAtIndex(1))
    keys(*(["Down"] * steps if steps > 0 else ["Up"] * -steps))


def convert(main):
    click(find(main, "push button", "转换"))


def check_same_bytes(written, reference):
    with open(written, "rb") as a, open(reference, "rb") as b:
        if a.read() != b.read():
            fail("%s differs from velkaro-convert's output" % written)


def troubled_cases(work):
    """Writes the sources of the troubled conversions into work: (source, box text, box title)."""
    with open(EXAMPLE, "rb") as f:
        lines = f.read().split(b"\r\n")
    stop = "警告: 第 6 行%s，读取在此停止，其后 %d 行没有转换。"
    cases = [
        ("early.txt", lines[:5] + [b""] + lines[5:], "写入 5 点\n" + stop % ("不足 10 字节", 35)),
        ("empty.txt", [], "写入 0 点\n警告: 源文件中没有可转换的点 "
         "(文件是空的、只有空行或第一行就停止了)，没有写入任何点。"),
        ("cut.txt", lines[:5] + [b"\x1a" + lines[5]] + lines[6:],
         "写入 5 点\n" + stop % ("有文件结束符 (0x1A)", 35)),
        ("zero.txt", lines[:5] + [b"\0" + lines[5]] + lines[6:],
         "写入 5 点\n" + stop % ("有零字节 (0x00)", 34) + "\n警告: 源文件看来不是 RTK 点文件 "
         "(有零字节或多数行没有坐标)，请确认选对了文件。"),
    ]
    for name, content, _ in cases:
        with open(os.path.join(work, name), "wb") as f:
            f.write(b"\r\n".join(content))
    done = [(name, "\t转换成功!\n生成转换文件:%sCass.dat\n%s" % (name[:-4], text), "格式转换提示：")
            for name, _, text in cases]
    # No write bit at all: the core refuses the output as read-only, even to root.
    locked = os.path.join(work, "lockedCass.dat")
    shutil.copy(EXAMPLE, os.path.join(work, "locked.txt"))
    shutil.copy(EXAMPLE, locked)
    os.chmod(locked, 0o444)
    return done + [("locked.txt", "创建转换文件错误:lockedCass.dat\n位置: %s\n原因: 文件是只读的。"
                    % locked, "Velkaro")]


def scenario(work, reference):
    source = os.path.join(work, "pts.txt")
    app = wait_for("Velkaro on the accessibility bus", application)
    main = wait_for("the main window", lambda: window_named(app, TITLE))
    labels = sorted(n.name for n in children(main) if n.getRoleName() == "label")
    if labels != ["", "选择源文件:", "选择转换格式:"]:
        fail("the window shows the labels %r" % labels)

    convert(main)
    expect_box(app, main, "请选择源文件", "Velkaro")

    browse(app, main, source)
    wait_for("the file name on display", lambda: display_text(main) == "pts.txt")
    convert(main)
    expect_box(app, main, "请选择转换格式", "Velkaro")

    outputs = ["ptsCass.dat", "ptsKaisi.txt", "ptsCAD.dxf"]
    for output in outputs:
        pick_format(main, 1)
        convert(main)
        expect_box(app, main, "\t转换成功!\n生成转换文件:%s\n写入 40 点" % output, "格式转换提示：")
        check_same_bytes(os.path.join(work, output), os.path.join(reference, output))
    print("converted to the three formats, byte for byte as velkaro-convert")

    # An output edited by hand: 取消 keeps it, 替换 replaces it.
    cass = os.path.join(work, "ptsCass.dat")
    with open(cass, "wb") as f:
        f.write(b"edited by hand\r\n")
    pick_format(main, -2)
    convert(main)
    question = next_box(app)
    if question.text != "转换文件 ptsCass.dat 已存在。\n要替换它吗?" or set(question.buttons) != {"替换", "取消"}:
        fail("question %r with buttons %r" % (question.text, list(question.buttons)))
    close_box(app, question, "取消")
    with open(cass, "rb") as f:
        if f.read() != b"edited by hand\r\n":
            fail("取消 did not keep the edited output")
    convert(main)
    close_box(app, next_box(app), "替换")
    expect_box(app, main, "\t转换成功!\n生成转换文件:ptsCass.dat\n写入 40 点", "格式转换提示：")
    check_same_bytes(cass, os.path.join(reference, "ptsCass.dat"))
    print("asked before replacing an existing output; 取消 kept it, 替换 replaced it")

    # The field edited after picking chooses nothing.
    click(find(main, "combo box").getChildAtIndex(1))
    keys("ctrl+a")
    type_text("CAD")
    convert(main)
    expect_box(app, main, "请选择转换格式", "Velkaro")

    # Sources that stop early or hold nothing, and an output that may not be replaced: each box
    # says what happened and where, and Enter closes it.
    pick_format(main, 1)
    for name, text, title in troubled_cases(work):
        browse(app, main, os.path.join(work, name))
        wait_for(name + " on display", lambda: display_text(main) == name)
        convert(main)
        if name == "locked.txt":
            close_box(app, next_box(app), "替换")
        expect_box(app, main, text, title, key="Return", icon=True)
    print("early stops, an empty source and a read-only output were reported")

    # The about box from the window menu, then Esc ends the program.
    click(main, 3)
    time.sleep(0.5)
    keys("a")
    about = wait_for("the about box", lambda: window_named(app, "关于 Velkaro"))
    names = [n.name for n in descendants(about) if n.getRoleName() == "label"]
    if "Velkaro 1.0 版" not in names:
        fail("the about box shows %r" % names)
    keys("Escape")
    wait_for("the about box to close", lambda: window_named(app, "关于 Velkaro") is None)
    print("the about box opened from the window menu and Esc closed it")


def run():
    work = tempfile.mkdtemp(prefix="velkaro-e2e-")
    elsewhere = tempfile.mkdtemp(prefix="velkaro-e2e-cwd-")
    reference = os.path.join(work, "reference")
    os.mkdir(reference)
    shutil.copy(EXAMPLE, os.path.join(work, "pts.txt"))
    subprocess.run([CONVERT, "-f", "all", "-o", reference, os.path.join(work, "pts.txt")],
                   check=True, stdout=subprocess.DEVNULL)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", LC_ALL="C.UTF-8")
    program = subprocess.Popen([VELKARO], cwd=elsewhere, env=env)
    try:
        scenario(work, reference)
        keys("Escape")
        status = program.wait(timeout=10)
        if status != 0:
            fail("the program ended with status %d" % status)
        if os.listdir(elsewhere):
            fail("files appeared in the working directory: %r" % os.listdir(elsewhere))
        print("PASS: Esc ended the program with status 0")
    finally:
        if program.poll() is None:
            program.kill()
        shutil.rmtree(work)
        shutil.rmtree(elsewhere)


run()
