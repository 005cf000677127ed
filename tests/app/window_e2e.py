#!/usr/bin/python3
"""The real Velkaro on a real X server, read through the accessibility bus: what the window and
its boxes show, driven by the mouse and keyboard (xdotool) as a surveyor would drive it.

Usage (inside dbus-run-session, with DISPLAY set): window_e2e.py VELKARO VELKARO_CONVERT EXAMPLE
Covers: the window and its texts, Browse through the real file chooser, a conversion to each
format with the bytes velkaro-convert writes, the question before an existing output is
replaced (Enter keeps it, 替换 replaces it), an edited format field, the warnings of sources that
stop early or hold no point in the result dialog, a read-only output refused with its reason and
no question, forty files whose result dialog fits the screen, a long run cancelled in its
progress dialog (the file and the bytes read), 自动识别 chosen in 设置 with its preview of a
header-row file, a coordinate system chosen in 设置 and a GIS format in the list, an option set
in 设置 and remembered after a restart, the about box from the window menu, and Esc ending the
program with status 0.
"""

import os
import re
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
    return find(main, "label", "源文件名").description


def options_line(main):
    return find(main, "label", "转换选项").description


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
    """Writes the sources of the troubled conversions into work: (source, points, notes)."""
    with open(EXAMPLE, "rb") as f:
        lines = f.read().split(b"\r\n")
    stop = "警告: 第 6 行%s，读取在此停止，其后 %d 行没有转换。"
    cases = [
        ("early.txt", lines[:5] + [b""] + lines[5:], "5 点", stop % ("不足 10 字节", 35)),
        ("empty.txt", [], "0 点", "警告: 源文件中没有可转换的点 "
         "(文件是空的、只有空行或第一行就停止了)，没有写入任何点。"),
        ("cut.txt", lines[:5] + [b"\x1a" + lines[5]] + lines[6:], "5 点",
         stop % ("有文件结束符 (0x1A)", 35)),
        ("zero.txt", lines[:5] + [b"\0" + lines[5]] + lines[6:], "5 点",
         stop % ("有零字节 (0x00)", 34)),
    ]
    for name, content, _, _ in cases:
        with open(os.path.join(work, name), "wb") as f:
            f.write(b"\r\n".join(content))
    done = [(name, points, notes) for name, _, points, notes in cases]
    # No write bit at all: the core refuses the output as read-only, even to root.
    locked = os.path.join(work, "lockedCass.dat")
    shutil.copy(EXAMPLE, os.path.join(work, "locked.txt"))
    shutil.copy(EXAMPLE, locked)
    os.chmod(locked, 0o444)
    return done + [("locked.txt", "", "创建转换文件错误:lockedCass.dat\n位置: %s\n原因: 文件是只读的。"
                    % locked)]


def screen_size():
    out = subprocess.run(["xdotool", "getdisplaygeometry"], check=True, capture_output=True,
                         text=True).stdout.split()
    return int(out[0]), int(out[1])


def on_screen(node):
    x, y, w, h = extents(node)
    width, height = screen_size()
    return x >= 0 and y >= 0 and x + w <= width and y + h <= height and w > 0 and h > 0


class Results:
    """The result dialog as shown: its headline, its cells row by row, its buttons."""

    def __init__(self, app):
        self.window = wait_for("the result dialog", lambda: window_named(app, "转换结果"))
        time.sleep(0.3)  # placed and sized by the window manager
        self.headline = wait_for("the headline", lambda: next(
            (n for n in descendants(self.window) if n.getRoleName() == "label"
             and n.name.startswith("转换完成")), None))
        self.buttons = {n.name: n for n in descendants(self.window)
                        if n.getRoleName() == "push button"}
        table = find(self.window, "table").queryTable()
        self.rows = [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
                     for r in range(table.nRows)]

    def close(self, app):
        keys("Return")  # 确定 is the default button
        wait_for("the result dialog to close", lambda: window_named(app, "转换结果") is None)


def expect_converted(app, output, folder):
    expect_box(app, None, "\t转换成功!\n生成转换文件:%s\n写入 40 点\n保存在: %s" % (output, folder),
               "格式转换提示：")


def browse_many(app, main, folder, names):
    """Chooses several files as a user types them: the folder first, then the quoted names."""
    click(find(main, "push button", "浏览..."))
    chooser = wait_for("the file chooser", lambda: next(
        (w for w in top_windows(app) if w.name != TITLE and find(w, "text") is not None), None))
    time.sleep(0.3)
    type_text(folder + "/")
    keys("Return")
    time.sleep(0.5)
    keys("ctrl+a")
    type_text(" ".join('"%s"' % n for n in names))
    keys("Return")
    wait_for("the file chooser to close", lambda: chooser not in top_windows(app))


def forty_files(app, main, work):
    """Forty files in one run: the result dialog lists them all and fits the screen."""
    folder = os.path.join(work, "forty")
    os.mkdir(folder)
    names = ["%02d.txt" % i for i in range(40)]
    for name in names:
        shutil.copy(EXAMPLE, os.path.join(folder, name))
    browse_many(app, main, folder, names)
    wait_for("40 files on display", lambda: display_text(main) == "00.txt 等 40 个文件")
    convert(main)
    results = Results(app)
    if results.headline.name != "转换完成: 40 个文件成功，0 个失败。" or len(results.rows) != 40:
        fail("forty files: %r with %d rows" % (results.headline.name, len(results.rows)))
    if results.rows[39][1] != os.path.join(folder, "39Cass.dat") or results.rows[39][2] != "40 点":
        fail("the last row reads %r" % results.rows[39])
    for what, node in (("dialog", results.window), ("headline", results.headline),
                       ("确定", results.buttons["确定"]), ("打开文件夹", results.buttons["打开文件夹"])):
        if not on_screen(node):
            fail("the result dialog's %s at %r leaves the %r screen" %
                 (what, extents(node), screen_size()))
    results.close(app)
    print("forty files ended in one result dialog within the screen")


def cancelled_run(app, main, work):
    """A long run shows its progress; 取消 stops it, keeping the earlier outputs and leaving no
    other file behind."""
    folder = os.path.join(work, "long")
    os.mkdir(folder)
    with open(EXAMPLE, "rb") as f:
        sample = f.read()
    with open(os.path.join(folder, "00.txt"), "wb") as f:
        f.write(sample * 50000)  # 100 MB, 2 million points
    names = ["%02d.txt" % i for i in range(40)]
    for name in names[1:]:
        os.link(os.path.join(folder, "00.txt"), os.path.join(folder, name))
    for name in names:
        with open(os.path.join(folder, name[:-4] + "Cass.dat"), "wb") as f:
            f.write(b"earlier")
    browse_many(app, main, folder, names)
    wait_for("40 files on display", lambda: display_text(main) == "00.txt 等 40 个文件")
    convert(main)
    close_box(app, next_box(app), "替换")
    progress = wait_for("the progress dialog", lambda: window_named(app, "正在转换"))
    text = wait_for("the progress text", lambda: next(
        (n.name for n in descendants(progress) if n.getRoleName() == "label"
         and n.name.startswith("正在转换 ")), None))
    # The file among all, and below it the bytes read of all sources' 40 x 100 MB.
    total = 40 * os.path.getsize(os.path.join(folder, "00.txt")) / 2**30
    if not re.fullmatch(r"正在转换 \d+/40: \d\d\.txt\n\d+\.\d / %.1f GB" % total, text):
        fail("the progress says %r" % text)
    click(wait_for("取消", lambda: find(progress, "push button", "取消")))
    results = Results(app)
    cancelled = [row for row in results.rows if row[3].startswith("转换已取消，原有文件保持不变:")]
    if not cancelled or results.rows[-1] not in cancelled:
        fail("no conversion was cancelled: %r" % results.rows[-3:])
    results.close(app)
    for row in cancelled:
        output = os.path.join(folder, row[0][:-4] + "Cass.dat")
        with open(output, "rb") as f:
            if f.read() != b"earlier":
                fail("the cancelled %s lost its earlier output" % row[0])
    expected = sorted(names + [n[:-4] + "Cass.dat" for n in names])
    if sorted(os.listdir(folder)) != expected:
        fail("left behind: %r" % sorted(set(os.listdir(folder)) - set(expected)))
    shutil.rmtree(folder)
    print("a long run showed %r; 取消 stopped it at file %d of 40 and kept the earlier outputs"
          % (text, 41 - len(cancelled)))


def settings_dialog(app, main):
    click(find(main, "push button", "设置..."))
    return wait_for("the settings", lambda: window_named(app, "转换设置"))


def set_summary_option(app, main):
    """设置: the summary option on; the options line shows it."""
    settings = settings_dialog(app, main)
    click(wait_for("the summary option", lambda: find(settings, "check box",
                                                      "转换后显示摘要 (--summary)")))
    click(find(settings, "push button", "确定"))
    wait_for("the settings to close", lambda: window_named(app, "转换设置") is None)
    line = wait_for("the options line to change", lambda: options_line(main) if
                    options_line(main) != "选项: 与原程序相同" else None)
    print("设置 turned the summary on; the window shows %r" % line)
    return line


def auto_layout(app, main, work, reference):
    """设置: 自动识别 previews a file with a header row as it will read it; the conversion writes
    the bytes the old reading writes for the same points."""
    with open(EXAMPLE, "rb") as f:
        lines = [b",".join(line.split(b",")[2:7]) for line in f.read().split(b"\r\n") if line]
    source = os.path.join(work, "head.txt")
    with open(source, "wb") as f:
        f.write(b"\r\n".join([b"Name,Code,N,E,H"] + lines) + b"\r\n")
    browse(app, main, source)
    wait_for("head.txt on display", lambda: display_text(main) == "head.txt")
    settings = settings_dialog(app, main)
    # A list shows its current item as its name.
    click(wait_for("the layout list", lambda: find(settings, "combo box", "原程序的读法 (rtk)")))
    time.sleep(0.3)
    keys("Down", "Return")
    table = wait_for("the preview", lambda: find(settings, "table").queryTable())
    wait_for("the preview's points", lambda: table.nRows == 8)
    rows = [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)] for r in (0, 4)]
    if rows[0] != ["P1", "KZD", "3515102.9358", "516181.7499", "42.7988"] or \
            rows[1][:1] + rows[1][2:] != ["控制点5", "3515153.2790", "516519.7514", "39.6360"]:
        fail("the preview shows %r" % rows)
    if find(settings, "label", "按 name,code,x,y,z 读取 (逗号或制表符分隔; 第一行为标题)") is None:
        fail("the preview does not say it takes the header row")
    click(find(settings, "push button", "确定"))
    wait_for("the settings to close", lambda: window_named(app, "转换设置") is None)
    if "auto" not in options_line(main):
        fail("the options line reads %r" % options_line(main))
    convert(main)
    expect_converted(app, "headCass.dat", work)
    check_same_bytes(os.path.join(work, "headCass.dat"), os.path.join(reference, "ptsCass.dat"))
    print("自动识别 previewed the header row's file and converted it as the old reading does")


def gis_format(app, main, work):
    """设置: a coordinate system typed into its list; the options line names it, and GeoPackage,
    the fourth item after the old three, writes the points in that grid, read back by GDAL."""
    settings = settings_dialog(app, main)
    click(wait_for("the coordinate system list", lambda: find(settings, "combo box", "无 (本地坐标)")))
    time.sleep(0.3)
    type_text("EPSG:4548")
    keys("Return")
    grid = "EPSG:4548 CGCS2000 3° 带 39 (117°E)"
    wait_for("the grid chosen", lambda: find(settings, "combo box", grid))
    click(find(settings, "push button", "确定"))
    wait_for("the settings to close", lambda: window_named(app, "转换设置") is None)
    if not options_line(main).endswith("; 坐标系 EPSG:4548"):
        fail("the options line reads %r" % options_line(main))
    pick_format(main, 3)
    if find(main, "combo box").getChildAtIndex(1).queryText().getText(0, -1) != "GeoPackage (GIS)":
        fail("three steps down from CASS6.0格式 is not GeoPackage (GIS)")
    convert(main)
    expect_box(app, None, "\t转换成功!\n生成转换文件:head.gpkg\n写入 40 点\n"
               "坐标系: EPSG:4548 CGCS2000 3° 带 39 (中央经线 117°E)\n保存在: %s" % work,
               "格式转换提示：")
    layer = subprocess.run(["ogrinfo", "-ro", "-al", os.path.join(work, "head.gpkg")],
                           capture_output=True, text=True).stdout
    if "Feature Count: 40" not in layer or 'ID["EPSG",4548]' not in layer or \
            "name (String) = 控制点5" not in layer:
        fail("GDAL reads head.gpkg as %r" % layer[:2000])
    print("设置 took %s; GeoPackage (GIS) chosen with the keys wrote the grid GDAL names" % grid)


def check_remembered(app, main, line):
    """After a restart the option is still on; 恢复默认 turns it off again."""
    if options_line(main) != line:
        fail("after a restart the options line reads %r, not %r" % (options_line(main), line))
    settings = settings_dialog(app, main)
    box = find(settings, "check box", "转换后显示摘要 (--summary)")
    if not box.getState().contains(pyatspi.STATE_CHECKED):
        fail("the summary option was forgotten")
    click(find(settings, "push button", "恢复默认"))
    click(find(settings, "push button", "确定"))
    wait_for("the defaults on the options line",
             lambda: options_line(main) == "选项: 与原程序相同")
    # With no window manager the keys go to the window under the pointer, and the settings'
    # 确定 lies beyond the main window's edge.
    x, y, width, height = extents(main)
    subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + 10)], check=True)
    print("the option was remembered after a restart; 恢复默认 restored the old tool's behaviour")


def scenario(work, reference):
    source = os.path.join(work, "pts.txt")
    app = wait_for("Velkaro on the accessibility bus", application)
    main = wait_for("the main window", lambda: window_named(app, TITLE))
    labels = sorted(n.name for n in children(main) if n.getRoleName() == "label")
    if labels != ["源文件名", "转换选项", "选择源文件:", "选择转换格式:"]:
        fail("the window shows the labels %r" % labels)
    if find(main, "combo box", "转换格式") is None or options_line(main) != "选项: 与原程序相同":
        fail("no format list named 转换格式, or the options line reads %r" % options_line(main))

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
        expect_converted(app, output, work)
        check_same_bytes(os.path.join(work, output), os.path.join(reference, output))
    print("converted to the three formats, byte for byte as velkaro-convert")

    # An output edited by hand: Enter keeps it, 替换 replaces it.
    cass = os.path.join(work, "ptsCass.dat")
    with open(cass, "wb") as f:
        f.write(b"edited by hand\r\n")
    os.utime(cass, (1715500800, 1715500800))
    pick_format(main, -2)
    convert(main)
    question = next_box(app)
    changed = time.strftime("%Y-%m-%d %H:%M", time.localtime(1715500800))
    if question.text != "转换文件 ptsCass.dat (修改于 %s) 已存在。\n要替换它吗?" % changed \
            or set(question.buttons) != {"替换", "取消"}:
        fail("question %r with buttons %r" % (question.text, list(question.buttons)))
    keys("Return")
    wait_for("the question to close", lambda: question.window not in top_windows(app))
    time.sleep(0.5)
    with open(cass, "rb") as f:
        if f.read() != b"edited by hand\r\n":
            fail("Enter on the question did not keep the edited output")
    if [w.name for w in top_windows(app)] != [TITLE]:
        fail("after Enter on the question the window shows %r" % [w.name for w in top_windows(app)])
    convert(main)
    close_box(app, next_box(app), "替换")
    expect_converted(app, "ptsCass.dat", work)
    check_same_bytes(cass, os.path.join(reference, "ptsCass.dat"))
    print("asked before replacing an existing output, naming its time; Enter kept it, 替换 replaced it")

    # The field edited after picking chooses nothing.
    click(find(main, "combo box").getChildAtIndex(1))
    keys("ctrl+a")
    type_text("CAD")
    convert(main)
    expect_box(app, main, "请选择转换格式", "Velkaro")

    # Sources that stop early or hold nothing, and an output that may not be replaced: the result
    # dialog says what happened and where, with no question for the read-only output, and Enter
    # closes it.
    pick_format(main, 1)
    for name, points, notes in troubled_cases(work):
        browse(app, main, os.path.join(work, name))
        wait_for(name + " on display", lambda: display_text(main) == name)
        convert(main)
        results = Results(app)
        row = results.rows[0] if results.rows else None
        if row != [name, os.path.join(work, name[:-4] + "Cass.dat") if points else "", points,
                   notes]:
            fail("%s: the result dialog shows %r" % (name, row))
        results.close(app)
    print("early stops, an empty source and a read-only output (no question) were reported")

    forty_files(app, main, work)
    cancelled_run(app, main, work)
    auto_layout(app, main, work, reference)
    gis_format(app, main, work)
    line = set_summary_option(app, main)

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
    return line


def restarted(line):
    app = wait_for("Velkaro on the accessibility bus again", application)
    main = wait_for("the main window", lambda: window_named(app, TITLE))
    check_remembered(app, main, line)


def start(env, cwd):
    return subprocess.Popen([VELKARO], cwd=cwd, env=env)


def end(program):
    keys("Escape")
    status = program.wait(timeout=10)
    if status != 0:
        fail("the program ended with status %d" % status)


def run():
    work = tempfile.mkdtemp(prefix="velkaro-e2e-")
    elsewhere = tempfile.mkdtemp(prefix="velkaro-e2e-cwd-")
    config = tempfile.mkdtemp(prefix="velkaro-e2e-config-")
    reference = os.path.join(work, "reference")
    os.mkdir(reference)
    shutil.copy(EXAMPLE, os.path.join(work, "pts.txt"))
    subprocess.run([CONVERT, "-f", "all", "-o", reference, os.path.join(work, "pts.txt")],
                   check=True, stdout=subprocess.DEVNULL)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
               QT_ACCESSIBILITY="1", LC_ALL="C.UTF-8", XDG_CONFIG_HOME=config)
    program = start(env, elsewhere)
    try:
        line = scenario(work, reference)
        end(program)
        if os.listdir(elsewhere):
            fail("files appeared in the working directory: %r" % os.listdir(elsewhere))
        if not os.path.isfile(os.path.join(config, "Velkaro", "Velkaro.conf")):
            fail("no settings in %s: %r" % (config, os.listdir(config)))
        program = start(env, elsewhere)
        restarted(line)
        end(program)
        print("PASS: Esc ended the program with status 0, twice")
    finally:
        if program.poll() is None:
            program.kill()
        shutil.rmtree(work)
        shutil.rmtree(elsewhere)
        shutil.rmtree(config)


run()
