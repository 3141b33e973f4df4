#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz_host_messages into fuzz/corpus.

Each seed is a byte string in the harness's input format (fuzz/FuzzInput.h,
fuzz/FuzzRecords.cpp, fuzz/fuzz_host_messages.cpp): a header byte (client
state), a flags byte (test mode), then operations. The seeds load a small
world (the group list and two groups with members) and then send one host
message of each code with ordinary contents, so that the fuzzer starts from
inputs that reach every handler's main path. Further seeds drive the other
windows through their main paths (the search results' information window,
the blacklist window, the history viewer): the user's clicks, the host's
answers and the answers to the prompts the module opens, whose bytes the
harness reads at the moment each prompt opens. Check what a seed does with
TARVOLAN_FUZZ_TRACE=1 (fuzz_host_messages.cpp).
"""
import os
import struct
import sys

FIRST_CODE, LAST_CODE = 1001, 1044
ODD_CODES = [20027, 20038, 0, -1, 1000, 1045, 20026, 20039, -2**31, 2**31 - 1]
EXTREMES = [0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 12, 13, 200, 201, 202, 403, 404, 408, 409,
            500, -1, -2, -2**31, 2**31 - 1, 2**31 - 2, 1000, 65535, 256, 30, 60]

# Operation numbers (the operation byte is taken modulo 32).
OP_MESSAGE, OP_MAIN_TIMER, OP_RUNNING_TIMER, OP_TREE, OP_MOUSE = 0, 16, 18, 19, 22
OP_MAIN_BUTTON, OP_OTHER_WINDOW, OP_POSTED, OP_CLIENT, OP_MODULE = 24, 25, 28, 29, 30
OP_GROUP_COMMAND = 31
# Choices of the group command operation (fuzz_host_messages.cpp, SendGroupCommand).
CMD_SEARCH, CMD_BLACKLIST = 0, 1

# Word kinds by code, as in FuzzRecords.cpp.
SHAPES = {
    1001: "ssi", 1002: "issii", 1003: "sxis", 1004: "L", 1005: "ssiDnMnB", 1006: "R", 1007: "ssi",
    1008: "R", 1009: "ssi", 1010: "issssss", 1011: "sisi", 1012: "sisi", 1013: "ssi", 1014: "si",
    1015: "sssi", 1016: "ssi", 1017: "ssi", 1018: "ssi", 1019: "ssi", 1020: "s", 1021: "s",
    1022: "nsS", 1023: "s", 1024: "ssi", 1025: "R", 1026: "R", 1027: "ssi", 1028: "sssx",
    1029: "ssi", 1030: "ssi", 1031: "si", 1032: "iisnH", 1033: "x", 1034: "issso", 1035: "sssx",
    1036: "P", 1038: "so", 1039: "ss", 1040: "i", 1041: "x", 1043: "soo", 1044: "isi",
    20027: "i", 20038: "iiii",
}

FILL_ZERO, FILL_NUMBERED, FILL_BLOCK = 0, 1, 2


class Seed:
    def __init__(self, header=0, flags=0):
        self.data = bytearray([header, flags])

    def byte(self, value):
        self.data.append(value & 0xFF)

    def u32(self, value):
        self.data += struct.pack("<I", value & 0xFFFFFFFF)

    # ---- values ----
    def number(self, value):
        if value in EXTREMES:
            self.byte(EXTREMES.index(value))
        else:
            self.byte(0xC0)
            self.u32(value)

    def text(self, value):
        """A text word that is not null: raw bytes (Text mode 3)."""
        raw = value.encode("gbk") if isinstance(value, str) else value
        assert len(raw) < 256
        self.byte(1)  # not null
        self.byte(3)  # raw bytes
        self.byte(len(raw))
        self.data += raw

    def field(self, value):
        """A fixed character field holding a terminated text."""
        raw = value.encode("gbk") if isinstance(value, str) else value
        if not raw:
            self.byte(0)
            return
        self.byte(1)  # a terminated text
        self.byte(3)
        self.byte(len(raw))
        self.data += raw

    def count(self, value):
        """A count below its array's limit (taken modulo the limit)."""
        assert 0 <= value < 255
        self.byte(4)
        self.byte(value)

    def full_count(self):
        """A count at its array's limit: a full page of results or history."""
        self.byte(6)

    def typed(self, value):
        """A text typed into a control: raw bytes."""
        raw = value.encode("gbk")
        self.byte(3)
        self.byte(len(raw))
        self.data += raw

    # ---- operations ----
    def message(self, code, *words):
        self.byte(OP_MESSAGE)
        if FIRST_CODE <= code <= LAST_CODE:
            self.byte(code - FIRST_CODE)
        else:
            self.byte(50 + ODD_CODES.index(code))  # (50 + i) % 10 == i
        self.byte(1)  # sender type 0
        self.byte(1)  # a record, not null
        shape = SHAPES.get(code, "ssssssss")
        if shape[0] in "LRP":
            words[0](self)
            return
        assert len(words) == len(shape), (code, shape, words)
        for kind, word in zip(shape, words):
            if callable(word):
                word(self)
            elif kind in "sx":
                self.text(word)
            elif kind == "n":
                self.count(word)
            elif kind == "o":
                self.byte(0)
            else:
                self.number(word)

    def op(self, number, *choices):
        self.byte(number)
        for choice in choices:
            self.byte(choice)


# ---- record builders ------------------------------------------------------

def group_list(count):
    def build(seed):
        seed.count(count)
        seed.byte(FILL_NUMBERED)
        seed.byte(0)
    return build


def description(owner):
    def build(seed):
        seed.byte(1)  # not null
        seed.field(owner)
        seed.field(owner)
        seed.field("Thu, 01 Jan 2009 10:00:00 GMT")
        for value in (0, 2, 1, 1000):
            seed.number(value)
        seed.field("subject")
        seed.field("bulletin")
    return build


def numbered_array(seed):
    seed.byte(1)  # not null
    seed.byte(FILL_NUMBERED)
    seed.byte(0)


def null_array(seed):
    seed.byte(0)


def filled_array(*entries):
    """An array whose first entries (at most eight, no more than its count)
    are given field by field in layout order: texts for character fields and
    text pointers, numbers for integers. The entries after them repeat them."""
    assert 1 <= len(entries) <= 8

    def build(seed):
        seed.byte(1)  # not null
        seed.byte(FILL_BLOCK)
        seed.byte(len(entries) - 1)
        for entry in entries:
            for value in entry:
                if isinstance(value, int):
                    seed.number(value)
                else:
                    seed.field(value)
    return build


def full_count(seed):
    seed.full_count()


def over_count(seed):
    seed.byte(7)  # one above the limit


def request(*fields):
    def build(seed):
        for value in fields:
            seed.field(value)
    return build


def profile(uri, text):
    def build(seed):
        seed.number(1)
        for _ in range(2):
            seed.byte(0)  # null
        seed.number(0)
        for _ in range(10):
            seed.byte(0)
        seed.byte(0)
        seed.byte(1); seed.byte(0); seed.byte(3); seed.byte(len(uri)); seed.data += uri.encode()
        seed.byte(0)
        seed.number(0)
        for i in range(13):
            if i == 12:
                seed.byte(1); seed.byte(0); seed.byte(3); seed.byte(len(text)); seed.data += text.encode()
            else:
                seed.byte(0)
        seed.number(0)
        seed.field("area")
        for _ in range(2):
            seed.byte(0)
    return build


ME = "sip:me@ims.test"
G2, G4 = "sip:g2@groups.test", "sip:g4@groups.test"
M1 = "sip:m1@ims.test"
MARKUP = '<property bold="1" size="240" face="Arial" color="0x000000ff" ></property>Hello :) 群组'


OWNER = "sip:owner@ims.test"
S2 = "sip:s2@groups.test"


def search_result(name, uri, owner, need_permit):
    """A search result entry: name, URI, owner, subject, bulletin, id, permit."""
    return (name, uri, owner, "subject " + name, "bulletin " + name, "10" + name[-1], need_permit)


def member(name, info, uri):
    """A member entry: display name, information, URI, phone."""
    return (name, info, uri, "")


def history_entry(id_text, sender, day):
    """A history entry: its id (the sender text field), sender, time, text."""
    return (id_text, sender, "Thu, %02d Jan 2009 10:00:00 GMT" % day,
            '<property size="180" ></property>message ' + id_text.strip())


# A page of search results: g2 (I am a member), s2 (another's group that
# asks the owner's permission) and g4 (mine); the 20 entries of a full page
# repeat the three.
SEARCH_PAGE = filled_array(search_result("g2", G2, OWNER, 0), search_result("s2", S2, OWNER, 1),
                           search_result("g4", G4, ME, 0))


# What the user does in the module's other windows (UseOtherWindow): the
# window (by its place among the open ones), the action and the control (by
# its place in the window). The second kind of press on a list or tree
# clicks a row, or double-clicks it.
ACT_PRESS, ACT_ROW, ACT_TYPE = 0, 1, 2
# The information window's controls, the blacklist window's, the history
# viewer's list, the conversation window's history button (1814), the
# viewer's buttons as a modal round chooses them, and the account dialog's.
INFO_RESULTS, INFO_PREV, INFO_NEXT, INFO_NAME, INFO_APPLY, INFO_QUERY = 0, 1, 2, 3, 4, 18
BLACK_LIST, BLACK_ADD, BLACK_REMOVE = 1, 2, 3
VIEWER_LIST = 1
CHAT_HISTORY = 5
VIEWER_PREV, VIEWER_NEXT, VIEWER_OK, VIEWER_CANCEL = 0, 1, 2, 5
INPUT_EDIT, INPUT_OK, INPUT_CANCEL = 1, 0, 1


def press(seed, control, window=0):
    seed.op(OP_OTHER_WINDOW, window, ACT_PRESS, control)


def click_row(seed, control, row, twice=False, window=0):
    """A click (or double click) on a row; row -1 clears the selection."""
    seed.op(OP_OTHER_WINDOW, window, ACT_ROW, control, 1 if twice else 0, row + 1)


def type_into(seed, control, text, window=0):
    seed.op(OP_OTHER_WINDOW, window, ACT_TYPE, control)
    seed.typed(text)


def while_open(seed, operations):
    """Operations delivered while a prompt is open (at most three): each a
    function writing one (a message, or a timer)."""
    if not operations:
        seed.byte(0)
        return
    assert len(operations) <= 3
    seed.byte(3)
    seed.byte(len(operations) - 1)
    for operation in operations:
        operation(seed)


def answer_box(seed, answer=0, operations=()):
    """A message box: operations while it is open, then its answer (0 OK,
    1 Yes, 2 No, 3 Cancel)."""
    while_open(seed, operations)
    seed.byte(answer)


def modal_rounds(seed, *rounds):
    """Answers a modal dialog in one to three rounds, each (changes,
    operations, button): changes are byte lists (a control's place and its
    value), operations are delivered while it is open, then a button."""
    assert 1 <= len(rounds) <= 3
    seed.byte(len(rounds) - 1)
    for changes, operations, button in rounds:
        seed.byte(len(changes))
        for change in changes:
            seed.data += bytes(change)
        while_open(seed, operations)
        seed.byte(button)


def typed_change(control, text):
    """A modal round's change: a text typed into an edit."""
    raw = text.encode("gbk")
    return [control, 3, len(raw)] + list(raw)


def row_change(control, row):
    """A modal round's change: a row of a list clicked (-1: none)."""
    return [control, row + 1]


def message_op(code, *words):
    return lambda seed: seed.message(code, *words)


def running_timer_op(choice):
    """While a prompt is open: one of the running timers (in the harness's
    fixed order of windows: by class, so with the conversation window open
    its editor's timer 0, the main window's 9051, then the viewer's 1)."""
    return lambda seed: seed.op(7, choice)


def search(seed):
    """Search groups (13066): the keyword "g" typed into the search dialog's
    second control, its fourth button (OK); the information window opens."""
    seed.op(OP_GROUP_COMMAND, CMD_SEARCH, 0, 1, 1, 3, 1, ord("g"), 0, 4)


def world(header=0, flags=0):
    """The group list (g1 contact list, g2 joined, g3, g4 mine) and g2, g4 in full."""
    seed = Seed(header, flags)
    seed.message(1004, group_list(4))
    seed.message(1005, "g2", G2, 2, description("sip:owner@ims.test"), 5, numbered_array, 0, null_array)
    seed.message(1005, "g4", G4, 1, description(ME), 3, numbered_array, 2, numbered_array)
    return seed


def seeds():
    out = {}
    out["world"] = world()
    for code, words in [
        (1001, ("sip:b1@ims.test", G4, 0)),
        (1002, (1, "sip:b1@ims.test", G4, 1, 0)),
        (1003, ("sip:owner@ims.test", "", 1,
                "<FromName>owner</FromName><GroupID>g9</GroupID><GroupName>群组</GroupName>")),
        (1003, ("sip:owner@ims.test", "", 2, "<JID>sip:m1@ims.test</JID><GroupID>g4</GroupID>")),
        (1006, (request("g9", "sip:owner@ims.test", "owner", "sip:g9@groups.test", "ret"),)),
        (1007, ("g4", M1, 2)),
        (1008, (request("g4", M1, "m1", "ret1", "ret2"),)),
        (1009, (G2, "g2", 1)),
        (1010, (1, "g4", ME, "sip:m9@ims.test", "m9", "", "139")),
        (1011, (G4, 0, "renamed", 0)),
        (1012, (G2, 5, "subject", 0)),
        (1013, ("g5", "sip:g5@groups.test", 200)),
        (1014, ("g4", 200)),
        (1015, (M1, "m1", "g4", 408)),
        (1016, ("sip:m2@ims.test", "g4", 200)),
        (1017, (G2, "2", 202)),
        (1018, ("g2", G2, 200)),
        (1019, (G2, "new name", 200)),
        (1020, (G2,)),
        (1021, (G2,)),
        (1022, (3, "g", numbered_array)),
        (1023, (G2,)),
        (1024, (G4, M1, 200)),
        (1025, (request("g2", "sip:owner@ims.test", "owner", G2, "ret"),)),
        (1026, (request("g2", "sip:owner@ims.test", "owner", G2, "ret"),)),
        (1027, (G4, M1, 1)),
        (1028, (G2, "sip:m2@ims.test", "busy", "")),
        (1029, ("g4", "sip:b2@ims.test", 200)),
        (1030, ("g4", "sip:b1@ims.test", 404)),
        (1031, (G2, 408)),
        (1032, (0, 2, G2, 4, numbered_array)),
        (1033, ("",)),
        (1034, (2, G2 + "/1", M1, MARKUP, 0)),
        (1035, (G4, "sip:m3@ims.test", "away", "")),
        (1036, (profile("SIP:M1@ims.test", "profile text"),)),
        (1038, (M1, 0)),
        (1039, (M1, "text")),
        (1040, (1,)),
        (1041, ("",)),
        (1043, (M1, 0, 0)),
        (1044, (1, G2, 200)),
        (20027, (5,)),
        (20038, (0, 0, 300, 500)),
    ]:
        seed = world()
        seed.message(code, *words)
        name = "code-%d" % code
        while name in out:
            name += "b"
        out[name] = seed

    # The user at the tree: show the window, click and right-click groups and
    # members, fire the timers.
    seed = world(flags=0)
    seed.message(20027, 5)
    for item in range(1, 12):
        seed.op(OP_TREE, 0, item)
    seed.op(OP_TREE, 1, 3)  # a right-click on the first group: the next bytes answer its menu
    seed.op(OP_MAIN_TIMER, 0)
    seed.op(OP_MAIN_TIMER, 2)
    seed.op(OP_POSTED)
    out["tree-clicks"] = seed

    # The conversation editors' context menus (opened by the right button's
    # release): select, save as RTF, copy, paste, save as text, then an
    # emoticon typed alone, selected and saved as a bitmap. The menu answers
    # count the enabled entries only.
    seed = world()
    seed.message(1034, 2, G2 + "/1", M1, MARKUP, 0)
    output, entry = 1, 4  # the chat window's controls, in the harness's order

    def menu(control, *answers):
        seed.op(OP_OTHER_WINDOW, 0, 3, control, 2, 10, 0, *answers)

    menu(output, 0)        # select all
    menu(output, 2, 1)     # save all, as saved.rtf
    menu(output, 0)        # copy
    menu(entry, 0)         # paste
    menu(entry, 3, 0)      # save all, as saved.txt
    seed.op(OP_OTHER_WINDOW, 0, 2, entry, 3, 2)
    seed.data += b":)"
    menu(entry, 1)         # select all: the one picture
    menu(entry, 4, 2)      # save the picture, as saved.bmp
    out["chat-editor-menus"] = seed

    # Search groups (13066): the keyword typed into the search dialog's
    # second control, its fourth button (OK); the host's results (1022) in
    # the information window, its buttons pressed and timers fired, then a
    # failed search (1023).
    seed = world()
    seed.op(OP_GROUP_COMMAND, CMD_SEARCH, 0, 1, 1, 3, 1, ord("g"), 0, 4)
    seed.message(1022, 3, "g", numbered_array)
    for control in range(6):
        seed.op(OP_OTHER_WINDOW, 0, 0, control)
    seed.op(OP_RUNNING_TIMER, 0)
    seed.message(1023, G2)
    out["search-info-window"] = seed

    # The blacklist window (13062) of my group g4, selected in the tree, with
    # the host's blacklist answers arriving and its buttons pressed.
    seed = world()
    seed.op(OP_TREE, 2, 2)
    seed.op(OP_GROUP_COMMAND, CMD_BLACKLIST)
    seed.message(1001, "sip:b1@ims.test", G4, 0)
    seed.message(1002, 1, "sip:b3@ims.test", G4, 1, 0)
    for control in range(6):
        seed.op(OP_OTHER_WINDOW, 0, 0, control)
    seed.message(1029, "g4", "sip:b2@ims.test", 200)
    seed.message(1030, "g4", "sip:b1@ims.test", 200)
    out["blacklist-window"] = seed

    # The history viewer (button 1814 of the conversation window, the sixth
    # of its controls in the harness's order), modal: while it is open the
    # host answers with a page of history (1032) and the request's timer
    # fires; then its buttons.
    for button in range(3):
        seed = world()
        seed.message(1034, 2, G2 + "/1", M1, MARKUP, 0)
        seed.op(OP_OTHER_WINDOW, 0, 0, 5)
        seed.byte(2)     # three rounds
        seed.byte(0)     # no control changed
        seed.byte(3)     # host messages while it is open: one
        seed.byte(0)
        seed.message(1032, 0, 2, G2, 4, numbered_array)
        seed.byte(button)
        seed.byte(1)     # second round: one control changed
        seed.byte(0)
        seed.byte(0)
        seed.byte(3)
        seed.byte(0)
        seed.byte(1)     # the main timer, while open
        seed.byte(0)
        seed.byte(button + 1)
        out["history-viewer-%d" % button] = seed

    out.update(information_window_seeds())
    out.update(blacklist_window_seeds())
    out.update(history_viewer_seeds())

    seed = world(flags=1)  # test mode
    for button in range(3):
        seed.op(OP_MAIN_BUTTON, button)
    seed.message(1041, "")
    seed.op(OP_MAIN_TIMER, 0)
    out["buttons-test-mode"] = seed
    return out


def information_window_seeds():
    out = {}
    # Pages of results: a full page (the next page button enabled), the next
    # page short (disabled), back to the first, two pages forward and one
    # back, then an empty page; the disabled buttons pressed as well.
    seed = world()
    search(seed)
    seed.message(1022, full_count, "g", SEARCH_PAGE)
    press(seed, INFO_NEXT)
    seed.message(1022, 5, "g", numbered_array)
    press(seed, INFO_NEXT)
    press(seed, INFO_PREV)
    press(seed, INFO_PREV)
    seed.message(1022, full_count, "g", SEARCH_PAGE)
    press(seed, INFO_NEXT)
    press(seed, INFO_NEXT)
    press(seed, INFO_PREV)
    seed.message(1022, 0, "g", null_array)
    press(seed, INFO_APPLY)
    seed.message(1022, over_count, "g", SEARCH_PAGE)  # more than a page: twenty read
    out["info-window-pages"] = seed

    # A group's details: my group g2 chosen (its details from my lists),
    # then g2 arriving with its owner among the members (its row marked
    # joined); s2 double-clicked, its details (1005, role 3) arriving with a
    # member awaiting approval; asked again and timed out; asked again and
    # failed (1023) twice, the second while the first failure's box is open;
    # g2 chosen and left (1018).
    seed = world()
    search(seed)
    seed.message(1022, full_count, "g", SEARCH_PAGE)
    click_row(seed, INFO_RESULTS, 0)
    members = filled_array(member("owner", "", OWNER), member("m9", "Defend", "sip:m9@ims.test"),
                           member("me", "", ME))
    seed.message(1005, "g2", G2, 2, description(OWNER), 3, members, 0, null_array)
    click_row(seed, INFO_RESULTS, 1, twice=True)
    seed.message(1005, "s2", S2, 3, description(OWNER), 3, members, 0, null_array)
    press(seed, INFO_QUERY)
    seed.op(OP_RUNNING_TIMER, 1)  # the main window's timer 9051 comes first
    click_row(seed, INFO_RESULTS, 1, twice=True)
    seed.message(1023, S2)
    answer_box(seed, 0, [message_op(1023, S2)])
    click_row(seed, INFO_RESULTS, 2)
    click_row(seed, INFO_RESULTS, 0)
    seed.message(1018, "g2", G2, 200)
    click_row(seed, INFO_RESULTS, -1)
    out["info-window-details"] = seed

    # Applying to join s2: without a display name, then with one (twice:
    # the second waits for the first), the application's expiry timer
    # fired twice; the host's answers (1017 refused and full, 1009 joined,
    # refused, timed out), each shown in a box.
    seed = world()
    search(seed)
    seed.message(1022, full_count, "g", SEARCH_PAGE)
    click_row(seed, INFO_RESULTS, 1)
    press(seed, INFO_APPLY)
    answer_box(seed)
    type_into(seed, INFO_NAME, "me2")
    press(seed, INFO_APPLY)
    press(seed, INFO_APPLY)
    seed.op(OP_RUNNING_TIMER, 1)  # after the main window's timer 9051
    seed.op(OP_RUNNING_TIMER, 1)
    seed.message(1017, S2, "102", 403)
    answer_box(seed)
    seed.message(1017, "sip:s9@groups.test", "", 409)
    answer_box(seed)
    seed.message(1009, S2, "s2", 1)
    answer_box(seed)
    seed.message(1009, S2, "s2", 2)
    answer_box(seed)
    seed.message(1009, S2, "s2", 3)
    answer_box(seed)
    out["info-window-join"] = seed
    return out


def blacklist_window_seeds():
    out = {}
    # The blacklist window of my group g4: the host's entries (1001), one
    # twice, for the whitelist, for another group and empty; changes (1002)
    # added by the group's name, removed, removed when not listed, of an
    # unknown list, and a failure with its box; a line chosen and removed,
    # the remove button with no line chosen; additions through the account
    # dialog (trimmed; cancelled); the add and remove results (1029, 1030).
    seed = world()
    seed.op(OP_TREE, 2, 2)
    seed.op(OP_GROUP_COMMAND, CMD_BLACKLIST)
    seed.message(1001, "sip:b1@ims.test", G4, 0)
    seed.message(1001, "sip:b1@ims.test", G4, 0)  # listed already
    seed.message(1001, "sip:b5@ims.test", G4, 1)
    seed.message(1001, "sip:b6@ims.test", G2, 0)
    seed.message(1001, "", G4, 0)
    seed.message(1002, 1, "sip:b7@ims.test", "g4", 1, 0)
    seed.message(1002, 1, "sip:b7@ims.test", G4, 0, 0)
    seed.message(1002, 1, "sip:b8@ims.test", G4, 0, 0)
    seed.message(1002, 1, "sip:b8@ims.test", G4, 1, 5)
    seed.message(1002, 0, "sip:b9@ims.test", G4, 1, 0)
    answer_box(seed)
    click_row(seed, BLACK_LIST, 0)
    press(seed, BLACK_REMOVE)
    click_row(seed, BLACK_LIST, -1)
    press(seed, BLACK_REMOVE)
    press(seed, BLACK_ADD)
    modal_rounds(seed, ([typed_change(INPUT_EDIT, "  b10  ")], [], INPUT_OK))
    press(seed, BLACK_ADD)
    modal_rounds(seed, ([typed_change(INPUT_EDIT, "b11")], [], INPUT_CANCEL))
    seed.message(1029, "g4", "sip:b10@ims.test", 200)
    seed.message(1030, "g4", "sip:b1@ims.test", 200)
    seed.message(1030, "g4", "sip:b2@ims.test", 408)
    out["blacklist-entries"] = seed
    return out


def history_page(count, *entries):
    """A page of g2's history (type 2) for the viewer."""
    return (200, 2, G2, count, filled_array(*entries))


# A full page of twenty (ids 101 to 108, then repeated), the next older one
# (ids 81 and 83 to 87; 81 with blanks around it, one id with a letter, one
# too large for an int) and a short newest page.
NEWEST_PAGE = [history_entry(str(101 + i), M1, 1 + i) for i in range(8)]
OLDER_PAGE = [history_entry(" 81 ", M1, 1), history_entry("x82", M1, 2), history_entry("99999999999", M1, 3)] + \
    [history_entry(str(83 + i), "sip:m2@ims.test", 4 + i) for i in range(5)]
SHORT_PAGE = [history_entry(str(121 + i), M1, 10 + i) for i in range(3)]


def history_viewer_seeds():
    out = {}

    def open_viewer(seed):
        """The conversation window of g2 opened by a message, its history
        button pressed: the viewer runs modally and asks for the first page."""
        seed.message(1034, 2, G2 + "/1", M1, MARKUP, 0)
        press(seed, CHAT_HISTORY)

    # Paging: the first page full (the next button enabled), to the older
    # page with a message chosen, back to a newer page that is short, then
    # OK.
    seed = world()
    open_viewer(seed)
    modal_rounds(seed,
                 ([], [message_op(1032, *history_page(20, *NEWEST_PAGE))], VIEWER_NEXT),
                 ([row_change(VIEWER_LIST, 0)], [message_op(1032, *history_page(20, *OLDER_PAGE))], VIEWER_PREV),
                 ([row_change(VIEWER_LIST, 1)], [message_op(1032, *history_page(3, *SHORT_PAGE))], VIEWER_OK))
    out["history-paging"] = seed

    # Empty pages and failures: an empty first page (200: the next button
    # stays usable), the next page asked for and its request timed out (the
    # viewer's timer), an answer of another code without entries, recent
    # messages (type 1) arriving meanwhile, the next page asked again and
    # answered empty (404); cancelled.
    seed = world()
    open_viewer(seed)
    modal_rounds(seed,
                 ([], [message_op(1032, 200, 2, G2, 0, null_array)], VIEWER_NEXT),
                 ([], [running_timer_op(2), message_op(1032, 408, 2, G2, 0, null_array),
                       message_op(1032, 200, 1, G2, 3, filled_array(*SHORT_PAGE))], VIEWER_NEXT),
                 ([], [message_op(1032, 404, 2, G2, 0, null_array)], VIEWER_CANCEL))
    out["history-empty-failed"] = seed

    # The viewer closed while a request is out: the first page, the next
    # asked for, cancelled; the page arriving afterwards is not kept, recent
    # messages for the conversation window are; then the group's
    # information failures (1031): removed from the group (403), the group
    # gone (404).
    seed = world()
    open_viewer(seed)
    modal_rounds(seed,
                 ([], [message_op(1032, *history_page(20, *NEWEST_PAGE))], VIEWER_NEXT),
                 ([], [], VIEWER_CANCEL))
    seed.message(1032, *history_page(20, *OLDER_PAGE))
    seed.message(1032, 200, 1, G2, 3, filled_array(*SHORT_PAGE))
    seed.message(1032, 200, 1, G2, 0, null_array)
    seed.message(1031, G2, 403)
    seed.message(1031, G4, 404)
    answer_box(seed)
    out["history-closed-waiting"] = seed
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, seed in seeds().items():
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(bytes(seed.data))


if __name__ == "__main__":
    main()
