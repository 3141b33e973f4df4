#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz_host_messages into fuzz/corpus.

Each seed is a byte string in the harness's input format (fuzz/FuzzInput.h,
fuzz/FuzzRecords.cpp, fuzz/fuzz_host_messages.cpp): a header byte (client
state), a flags byte (test mode), then operations. The seeds load a small
world (the group list and two groups with members) and then send one host
message of each code with ordinary contents, so that the fuzzer starts from
inputs that reach every handler's main path.
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

FILL_ZERO, FILL_NUMBERED = 0, 1


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
        assert 0 <= value < 255
        self.byte(4)
        self.byte(value)

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

    seed = world(flags=1)  # test mode
    for button in range(3):
        seed.op(OP_MAIN_BUTTON, button)
    seed.message(1041, "")
    seed.op(OP_MAIN_TIMER, 0)
    out["buttons-test-mode"] = seed
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, seed in seeds().items():
        with open(os.path.join(folder, "seed-" + name), "wb") as f:
            f.write(bytes(seed.data))


if __name__ == "__main__":
    main()
