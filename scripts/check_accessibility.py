#!/usr/bin/env python3
"""Reads the running client's windows through AT-SPI, as a screen reader does.

    check_accessibility.py PID [--all] [--list] [--english]

Finds the application with that process id on the accessibility bus, reads
its main window, opens the search dialog from the Groups menu and reads it
too. With --all it also opens the group information window (a search from
that dialog) and, after selecting the first group in the group tree as an
assistive technology does, that group's conversation, blacklist and history
viewer, and the conversation's emoticon grid; in the conversation it moves
the transcript's caret with the arrow keys and reads the line it is on,
opens the find bar with Ctrl+F and closes it with Escape, and listens for
the announcement of a message that someone else sends. Prints, per window,
the interactive controls and those without a name (with --list every
control's role, name and description). Every dialog must report its focused
control after it opens (a focus event for a control inside it, as a screen
reader waits for), the emoticon grid its highlighted emoticon, and an
editor's accessible text must hold no object replacement character (an
emoticon is read by its meaning). Exits 1 when a control has no name, a
window does not open or a report is missing, 2 when the application never
shows up on the bus.

With --english the client runs at en_US over a world of English names
(tests/scenarios/worlds/english.json): the windows are found by their
English names, and every object they show must be free of CJK characters
(the module's texts come from its English catalogue).

Started by check-accessibility.sh inside its own X server and D-Bus session.
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_PAGE_TAB,
}
# Views whose columns have titles (a list has none to announce).
WITH_COLUMNS = {pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE}
ITEM_VIEWS = WITH_COLUMNS | {pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX}
DEFAULT_TITLE = re.compile(r"^\d+$")
CJK = re.compile("[\u3000-\u303f\u3400-\u9fff\uf900-\ufaff\uff00-\uffef]")

# What the steps look for, in the client's language: window names, menu
# items (the client's own), controls, and the search keyword (a word of the
# world's group names).
NAMES = {
    "zh": {"main": "群组", "search menu": "搜索群组", "search": "搜索群组", "keyword": "群组名", "query": "读书",
           "ok": "确定", "information": "群组信息", "chat menu": "所选群组的会话", "chat": "群组会话",
           "blacklist menu": "所选群组的黑名单", "blacklist": "黑白名单", "history menu": "所选群组的历史消息",
           "history": "群组历史消息", "close": "关闭", "emoticons": "表情"},
    "en": {"main": "Groups", "search menu": "Search groups", "search": "Search groups", "keyword": "Group name",
           "query": "Book", "ok": "OK", "information": "Group information",
           "chat menu": "Conversation of the selected group", "chat": "Group chat",
           "blacklist menu": "Blacklist of the selected group", "blacklist": "Blacklist",
           "history menu": "History of the selected group", "history": "Group message history", "close": "Close",
           "emoticons": "Emoticons"},
}
ENGLISH = "--english" in sys.argv[2:]
N = NAMES["en" if ENGLISH else "zh"]


# Controls that reported getting the focus, in order (the events arrive while
# the main context is pumped).
FOCUSED = []
OBJECT_CHARACTER = "\ufffc"


def on_focus(event):
    if event.detail1:
        FOCUSED.append(event.source)


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, seconds, step=0.2):
    """Polls what() until it gives something true; None after seconds."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        try:
            found = what()
        except Exception:  # the bus or the window is not there yet
            found = None
        if found:
            return found
        time.sleep(step)
    return None


def find_app(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def walk(node, found):
    """Collects the showing interactive controls under node (menus left out)."""
    for child in node:
        if child is None or not showing(child):
            continue
        role = child.getRole()
        if role in (pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU):
            continue
        if role in INTERACTIVE:
            found.append(child)
        if role in ITEM_VIEWS:
            continue  # its cells are named by their own texts
        walk(child, found)
    return found


def column_titles(node):
    try:
        table = node.queryTable()
    except NotImplementedError:
        return []
    return [table.getColumnDescription(i) for i in range(table.nColumns)]


def describe(node):
    return "%s %r" % (node.getRoleName(), node.name)


def cjk_objects(node, found, seen):
    """Collects the showing objects under node whose name or description
    holds a CJK character; counts every showing object in seen[0]."""
    in_view = node.getRole() in ITEM_VIEWS  # cells scrolled out of view count too
    for child in node:
        if child is None or not (in_view or showing(child)):
            continue
        seen[0] += 1
        if CJK.search(child.name or "") or CJK.search(child.description or ""):
            found.append(child)
        cjk_objects(child, found, seen)
    return found


def check_window(title, window):
    """Prints the window's controls; returns the number without a name (and,
    in English, of objects with a CJK character)."""
    problems = check_names(title, window)
    if ENGLISH:
        seen = [1]
        chinese = cjk_objects(window, [window] if CJK.search(window.name or "") else [], seen)
        print("%-28s %3d objects, %d with a CJK character" % (title, seen[0], len(chinese)))
        for node in chinese:
            print("    CJK: %s %r" % (describe(node), node.description))
        problems += len(chinese)
    return problems


def check_names(title, window):
    """Prints the window's controls; returns the number without a name."""
    controls = walk(window, [])
    unnamed = [c for c in controls if not c.name.strip()]
    unnamed += [c for c in controls if c.getRole() in WITH_COLUMNS
                and any(DEFAULT_TITLE.match(t or "") for t in column_titles(c))]
    print("%-28s %3d interactive controls, %d without a name" % (title, len(controls), len(unnamed)))
    for control in unnamed:
        print("    unnamed: %s (columns %s)" % (describe(control), column_titles(control)))
    if "--list" in sys.argv[2:]:
        for control in controls:
            print("    %s %s" % (describe(control), control.description))
    return len(unnamed)


def check_grid(app, since):
    """The emoticon picker's grid: a list whose items are named, which
    reports its highlighted emoticon when it opens."""
    grid = wait_for(lambda: find_named(app, pyatspi.ROLE_LIST, N["emoticons"]), 20)
    if grid is None:
        print("%-28s did not open" % "emoticon grid")
        return 1
    cells = [item for item in grid if item is not None]
    unnamed = [cell for cell in cells if not cell.name.strip()]
    print("%-28s %3d cells, %d without a name (first: %s)" % ("emoticon grid", len(cells), len(unnamed),
                                                           cells[0].name if cells else "none"))
    chinese = [cell for cell in cells if ENGLISH and CJK.search(cell.name or "")]
    if chinese:
        print("    CJK: %s" % ", ".join(cell.name for cell in chinese))
    return len(unnamed) + len(chinese) + (0 if cells else 1) + check_focus("emoticon grid", window_of(grid), since)


def window_of(node):
    """The top-level window that holds node (a child of the application)."""
    try:
        while node is not None:
            parent = node.parent
            if parent is None or parent.getRole() == pyatspi.ROLE_APPLICATION:
                return node
            node = parent
    except Exception:  # the control went meanwhile
        pass
    return None


def focus_reported(window, since):
    """A control inside window (not the window itself) reported the focus
    among the focus events from index since on; its description or None."""
    def found():
        for node in FOCUSED[since:]:
            top = window_of(node)
            try:
                if top is not None and node != top and top.name == window.name and top.getRole() == window.getRole():
                    return describe(node)
            except Exception:
                continue
        return None
    return wait_for(found, 10)


def check_focus(title, window, since):
    """Prints where the window reported its focus; 1 when it did not."""
    where = focus_reported(window, since)
    if where is None:
        print("%-28s reported no focused control after opening" % title)
        if "--list" in sys.argv[2:]:
            for node in FOCUSED[since:]:
                top = window_of(node)
                print("    focus on %s in %s" % (describe(node), describe(top) if top is not None else "?"))
        return 1
    print("%-28s reported the focus on %s" % (title, where))
    return 0


def check_editor_text(title, editor, meaning=""):
    """An editor's accessible text gives emoticons by their meaning (one it
    must hold, when given), never as the object character."""
    text = editor.queryText()
    content = text.getText(0, text.characterCount)
    if OBJECT_CHARACTER in content or meaning not in content:
        print("%-28s accessible text holds the object character: %r" % (title, content[-80:]))
        return 1
    print("%-28s accessible text without object characters (%d characters)" % (title, len(content)))
    return 0


def pump_until(seconds, until):
    """Delivers AT-SPI events until until() is true; False after seconds."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        if until():
            return True
        time.sleep(0.05)
    return False


def press_key(keysym):
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def check_reading(conversation):
    """The transcript as a reader reads it: the caret in it, moved by the
    arrow keys line by line; returns 1 when the caret does not move or reads
    no line."""
    transcript = find_named(conversation, pyatspi.ROLE_TEXT, "会话记录") or \
        find_named(conversation, pyatspi.ROLE_ENTRY, "会话记录")
    if transcript is None:
        print("%-28s no transcript" % "transcript caret")
        return 1
    text = transcript.queryText()
    transcript.queryComponent().grabFocus()
    text.setCaretOffset(0)
    lines = []
    for _ in range(2):
        before = text.caretOffset
        press_key(0xff54)  # Down
        wait_for(lambda: text.caretOffset != before, 5, 0.05)
        lines.append(text.getTextAtOffset(text.caretOffset, pyatspi.TEXT_BOUNDARY_LINE_START)[0].strip())
    readonly = not transcript.getState().contains(pyatspi.STATE_EDITABLE)
    moved = text.caretOffset > 0 and all(lines)
    print("%-28s caret at %d after Down Down, lines %s, %s" % ("transcript caret", text.caretOffset, lines,
                                                               "read-only" if readonly else "EDITABLE"))
    return 0 if moved and readonly else 1


def check_find_bar(conversation):
    """Ctrl+F opens the find bar, whose controls are named; Escape closes the
    bar and leaves the window open."""
    control_l = 37  # the keycode of Control_L in the X server's keymap
    pyatspi.Registry.generateKeyboardEvent(control_l, None, pyatspi.KEY_PRESS)
    press_key(ord("f"))
    pyatspi.Registry.generateKeyboardEvent(control_l, None, pyatspi.KEY_RELEASE)
    field = wait_for(lambda: next((c for c in walk(conversation, []) if c.name == "查找"), None), 10)
    if field is None:
        print("%-28s did not open" % "find bar")
        return 1
    problems = check_window("find bar (conversation)", conversation)
    press_key(0xff1b)  # Escape
    closed = wait_for(lambda: not any(c.name == "查找" for c in walk(conversation, [])), 10)
    still_open = showing(conversation)
    print("%-28s Escape %s the bar, the window %s" % ("find bar", "closed" if closed else "did not close",
                                                       "stays" if still_open else "WENT"))
    return problems + (0 if closed and still_open else 1)


def check_announcement(pid, app):
    """A message from someone else, sent from the client's Network menu: the
    conversation's alert announces it (an AT-SPI text insertion)."""
    heard = []

    def listen(event):
        try:
            if event.source.getRole() == pyatspi.ROLE_ALERT:
                heard.append(event.any_data)
        except Exception:
            pass

    pyatspi.Registry.registerEventListener(listen, "object:text-changed:insert")
    presser = press(pid, "menu", "有人在群组中发言")
    pump_until(20, lambda: heard)
    pyatspi.Registry.deregisterEventListener(listen, "object:text-changed:insert")
    presser.wait()
    print("%-28s %s" % ("announcement", repr(heard[0]) if heard else "none heard"))
    return 0 if heard else 1


def top_window(app, name_part, exact=False):
    for window in app:
        if window is None or not showing(window):
            continue
        if window.name == name_part if exact else name_part in window.name:
            return window
    return None


def find_named(node, role, name_part):
    """The first node under node with that role whose name holds name_part."""
    for child in node:
        if child is None:
            continue
        if child.getRole() == role and name_part in child.name:
            return child
        found = find_named(child, role, name_part)
        if found is not None:
            return found
    return None


def press(pid, role, name_part):
    """Presses a menu item or button in a process of its own: a modal dialog
    or a popup keeps the action's answer until it closes."""
    return subprocess.Popen([sys.executable, __file__, str(pid), "--press", role, name_part])


def main():
    pid = int(sys.argv[1])
    app = wait_for(lambda: find_app(pid), 30)
    if app is None:
        print("check-accessibility: the client is not on the accessibility bus")
        return 2
    if len(sys.argv) > 4 and sys.argv[2] == "--press":
        role = {"menu": pyatspi.ROLE_MENU_ITEM, "button": pyatspi.ROLE_PUSH_BUTTON}[sys.argv[3]]
        item = wait_for(lambda: find_named(app, role, sys.argv[4]), 10)
        if item is not None:
            try:
                item.queryAction().doAction(0)
            except Exception:
                pass  # the answer waits for a modal dialog; it is not needed
        return 0

    problems = 0
    pressers = []
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")

    def open_and_check(title, menu_item, window_name):
        nonlocal problems
        since = len(FOCUSED)
        if menu_item:
            pressers.append(press(pid, "menu", menu_item))
        window = wait_for(lambda: top_window(app, window_name), 20)
        if window is None:
            print("%-28s did not open" % title)
            problems += 1
            return None
        problems += check_window(title, window)
        problems += check_focus(title, window, since)
        return window

    # The main window is titled 群组 (Groups) alone (the desktop adds
    # "Velora"); the group windows opened later only start with it.
    main_window = wait_for(lambda: top_window(app, N["main"], exact=True), 20)
    if main_window is None:
        print("check-accessibility: no main window")
        return 1
    wait_for(lambda: find_named(main_window, pyatspi.ROLE_TREE, ""), 10)
    problems += check_window("main window (group tree)", main_window)
    search = open_and_check("search", N["search menu"], N["search"])
    if "--all" in sys.argv[2:] and search is not None:
        keyword = find_named(search, pyatspi.ROLE_ENTRY, N["keyword"]) or find_named(search, pyatspi.ROLE_TEXT, N["keyword"])
        if keyword is not None:
            keyword.queryEditableText().setTextContents(N["query"])
        ok = find_named(search, pyatspi.ROLE_PUSH_BUTTON, N["ok"])
        if ok is not None:
            ok.queryAction().doAction(0)
        open_and_check("group information", None, N["information"])
        # The first group (row 2, under its root), selected as an assistive
        # technology selects: the tree's selection is its current item.
        tree = find_named(main_window, pyatspi.ROLE_TREE, "") or find_named(main_window, pyatspi.ROLE_TREE_TABLE, "")
        tree.queryTable().addRowSelection(2)
        conversation = open_and_check("conversation", N["chat menu"], N["chat"])
        if conversation is not None and not ENGLISH:
            # Reading, finding and hearing are checked once, in Chinese.
            problems += check_reading(conversation)
            problems += check_find_bar(conversation)
            problems += check_announcement(pid, app)
        open_and_check("blacklist", N["blacklist menu"], N["blacklist"])
        history = open_and_check("history", N["history menu"], N["history"])
        if history is not None:
            find_named(history, pyatspi.ROLE_PUSH_BUTTON, N["close"]).queryAction().doAction(0)
            wait_for(lambda: top_window(app, N["history"]) is None, 10)
        if conversation is not None and not ENGLISH:
            # An emoticon typed into the input becomes a picture, read by its meaning.
            editor = find_named(conversation, pyatspi.ROLE_TEXT, "消息输入")
            if editor is not None:
                editor.queryEditableText().insertText(0, "hi :)", 5)
                wait_for(lambda: "微笑" in editor.queryText().getText(0, -1), 5)
                problems += check_editor_text("消息输入 (input)", editor, "微笑")
            output = find_named(conversation, pyatspi.ROLE_TEXT, "会话记录")
            if output is not None:
                problems += check_editor_text("会话记录 (output)", output)
        since = len(FOCUSED)
        pressers.append(press(pid, "button", N["emoticons"]))
        problems += check_grid(app, since)
    for presser in pressers:
        if presser.poll() is None:
            presser.kill()
        presser.wait()
    print("check-accessibility: %s" % ("every control has a name, every report came" if problems == 0
                                       else "%d problems" % problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
