#!/usr/bin/env python3
"""Checks that the class files of a jar can run on a CLDC 1.0 phone.

The compiler and ProGuard cannot see everything the phones refuse, so this reads the class
files themselves and fails on:
  - a class file version above 45.3;
  - floating point: float/double constants, descriptors, opcodes or arrays (CLDC 1.0 has
    no floating point);
  - jsr/ret, which preverified CLDC code must not contain;
  - a method with branches, switches or exception handlers but no StackMap attribute, or
    with a StackMap that lacks a frame at a branch target or handler (the phone's verifier
    needs one at each), or with a StackMapTable (the newer format the phones do not read);
  - a MIDP 2.0 member (which the API stubs carry for one helper) used by any class but that
    helper, FullScreen, which the reader loads only where the MIDP 2.0 API exists.

Usage: scan_classes.py FILE.jar|FILE.class ...   Exit status 0 when every class passes.
"""
import struct
import sys
import zipfile

FLOAT_OPCODES = {
    0x0B: "fconst_0", 0x0C: "fconst_1", 0x0D: "fconst_2", 0x0E: "dconst_0", 0x0F: "dconst_1",
    0x17: "fload", 0x18: "dload", 0x22: "fload_0", 0x23: "fload_1", 0x24: "fload_2",
    0x25: "fload_3", 0x26: "dload_0", 0x27: "dload_1", 0x28: "dload_2", 0x29: "dload_3",
    0x30: "faload", 0x31: "daload", 0x38: "fstore", 0x39: "dstore", 0x43: "fstore_0",
    0x44: "fstore_1", 0x45: "fstore_2", 0x46: "fstore_3", 0x47: "dstore_0", 0x48: "dstore_1",
    0x49: "dstore_2", 0x4A: "dstore_3", 0x51: "fastore", 0x52: "dastore", 0x62: "fadd",
    0x63: "dadd", 0x66: "fsub", 0x67: "dsub", 0x6A: "fmul", 0x6B: "dmul", 0x6E: "fdiv",
    0x6F: "ddiv", 0x72: "frem", 0x73: "drem", 0x76: "fneg", 0x77: "dneg", 0x86: "i2f",
    0x87: "i2d", 0x89: "l2f", 0x8A: "l2d", 0x8B: "f2i", 0x8C: "f2l", 0x8D: "f2d", 0x8E: "d2i",
    0x8F: "d2l", 0x90: "d2f", 0x95: "fcmpl", 0x96: "fcmpg", 0x97: "dcmpl", 0x98: "dcmpg",
    0xAE: "freturn", 0xAF: "dreturn",
}

# Operand bytes after the opcode, for every opcode of fixed length (others handled apart).
OPERAND_BYTES = {op: 0 for op in range(0x00, 0xCA)}
OPERAND_BYTES.update({0x10: 1, 0x11: 2, 0x12: 1, 0x13: 2, 0x14: 2, 0xA9: 1, 0xBC: 1,
                      0xB2: 2, 0xB3: 2, 0xB4: 2, 0xB5: 2, 0xB6: 2, 0xB7: 2, 0xB8: 2,
                      0xB9: 4, 0xBA: 4, 0xBB: 2, 0xBD: 2, 0xC0: 2, 0xC1: 2, 0xC5: 3,
                      0x84: 2, 0xC8: 4, 0xC9: 4})
for op in range(0x15, 0x1A):
    OPERAND_BYTES[op] = 1   # xload index
for op in range(0x36, 0x3B):
    OPERAND_BYTES[op] = 1   # xstore index
for op in list(range(0x99, 0xA9)) + [0xC6, 0xC7]:
    OPERAND_BYTES[op] = 2   # if*, goto, jsr, ifnull, ifnonnull
BRANCH16 = set(range(0x99, 0xA9)) | {0xC6, 0xC7}
BRANCH32 = {0xC8, 0xC9}
JSR_RET = {0xA8: "jsr", 0xA9: "ret", 0xC9: "jsr_w"}

# MIDP 2.0 members of the API stubs, and the one class allowed to use them.
MIDP2_MEMBERS = {"setFullScreenMode"}
MIDP2_HELPER = "FullScreen"


class Reader:
    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def take(self, fmt):
        values = struct.unpack_from(fmt, self.data, self.pos)
        self.pos += struct.calcsize(fmt)
        return values if len(values) > 1 else values[0]

    def bytes(self, n):
        b = self.data[self.pos:self.pos + n]
        self.pos += n
        return b


def descriptor_uses_float(desc):
    i = 0
    while i < len(desc):
        c = desc[i]
        if c == "L":
            i = desc.index(";", i) + 1
            continue
        if c in "FD":
            return True
        i += 1
    return False


def instructions(code):
    """Yields (pc, opcode, branch targets) for each instruction of a Code array."""
    pc = 0
    while pc < len(code):
        op = code[pc]
        targets = []
        if op == 0xAA:  # tableswitch
            p = (pc + 4) & ~3
            default, low, high = struct.unpack_from(">iii", code, p)
            offsets = struct.unpack_from(">%di" % (high - low + 1), code, p + 12)
            targets = [pc + default] + [pc + o for o in offsets]
            length = p + 12 + 4 * (high - low + 1) - pc
        elif op == 0xAB:  # lookupswitch
            p = (pc + 4) & ~3
            default, npairs = struct.unpack_from(">ii", code, p)
            pairs = struct.unpack_from(">%di" % (2 * npairs), code, p + 8)
            targets = [pc + default] + [pc + pairs[2 * k + 1] for k in range(npairs)]
            length = p + 8 + 8 * npairs - pc
        elif op == 0xC4:  # wide
            length = 6 if code[pc + 1] == 0x84 else 4
            op = code[pc + 1]
        elif op in OPERAND_BYTES:
            length = 1 + OPERAND_BYTES[op]
            if op in BRANCH16:
                targets = [pc + struct.unpack_from(">h", code, pc + 1)[0]]
            elif op in BRANCH32:
                targets = [pc + struct.unpack_from(">i", code, pc + 1)[0]]
        else:
            raise ValueError("unknown opcode 0x%02X at %d" % (op, pc))
        yield pc, op, code[pc + 1] if op == 0xBC else None, targets
        pc += length


def stackmap_offsets(data):
    """Offsets of the frames of a CLDC StackMap attribute (16-bit counts and offsets)."""
    r = Reader(data)
    offsets = []

    def skip_types(count):
        for _ in range(count):
            tag = r.take(">B")
            if tag == 7:      # object: class index
                r.take(">H")
            elif tag == 8:    # uninitialised: offset of its new
                r.take(">H")

    for _ in range(r.take(">H")):
        offsets.append(r.take(">H"))
        skip_types(r.take(">H"))
        skip_types(r.take(">H"))
    return offsets


def scan_class(name, data):
    """Returns a list of problems found in one class file."""
    problems = []
    r = Reader(data)
    if r.take(">I") != 0xCAFEBABE:
        return [name + ": not a class file"]
    minor, major = r.take(">HH")
    if (major, minor) > (45, 3):
        problems.append("%s: class version %d.%d is above 45.3" % (name, major, minor))
    count = r.take(">H")
    utf8 = {}
    classes = {}
    index = 1
    while index < count:
        tag = r.take(">B")
        if tag == 1:
            utf8[index] = r.bytes(r.take(">H")).decode("utf-8", "replace")
        elif tag in (3, 4):
            r.take(">I")
            if tag == 4:
                problems.append("%s: float constant in the constant pool" % name)
        elif tag in (5, 6):
            r.take(">Q")
            if tag == 6:
                problems.append("%s: double constant in the constant pool" % name)
            index += 1
        elif tag == 7:
            classes[index] = r.take(">H")
        elif tag == 8:
            r.take(">H")
        elif tag in (9, 10, 11, 12):
            r.take(">HH")
            # NameAndType (12) carries the descriptor of every field and method used.
        else:
            return problems + ["%s: constant pool tag %d is not known to CLDC" % (name, tag)]
        index += 1
    for desc in utf8.values():
        if desc.startswith("(") or (len(desc) <= 2 and desc in ("F", "D", "[F", "[D")):
            if descriptor_uses_float(desc):
                problems.append("%s: float/double in descriptor %s" % (name, desc))
    this_class = utf8[classes[r.take(">HHH")[1]]]
    if this_class != MIDP2_HELPER:
        for member in sorted(MIDP2_MEMBERS & set(utf8.values())):
            problems.append("%s: MIDP 2.0 member %s outside %s" % (name, member, MIDP2_HELPER))
    interfaces = r.take(">H")
    r.pos += 2 * interfaces

    def skip_attributes():
        for _ in range(r.take(">H")):
            r.take(">H")
            length = r.take(">I")
            r.pos += length

    for _ in range(r.take(">H")):  # fields
        _, _, desc = r.take(">HHH")
        if descriptor_uses_float(utf8[desc]):
            problems.append("%s: field of type %s" % (name, utf8[desc]))
        skip_attributes()
    for _ in range(r.take(">H")):  # methods
        _, mname, mdesc = r.take(">HHH")
        where = "%s.%s%s" % (name, utf8[mname], utf8[mdesc])
        for _ in range(r.take(">H")):
            aname = utf8[r.take(">H")]
            alen = r.take(">I")
            end = r.pos + alen
            if aname == "Code":
                problems += scan_code(where, r, utf8)
            r.pos = end
    return problems


def scan_code(where, r, utf8):
    problems = []
    r.take(">HH")
    code = r.bytes(r.take(">I"))
    handlers = []
    for _ in range(r.take(">H")):
        handlers.append(r.take(">HHHH")[2])
    stackmap = None
    has_table = False
    for _ in range(r.take(">H")):
        aname = utf8[r.take(">H")]
        data = r.bytes(r.take(">I"))
        if aname == "StackMap":
            stackmap = data
        elif aname == "StackMapTable":
            has_table = True
    needed = set(handlers)
    for pc, op, atype, targets in instructions(code):
        if op in FLOAT_OPCODES:
            problems.append("%s: floating point opcode %s at %d" % (where, FLOAT_OPCODES[op], pc))
        if op == 0xBC and atype in (6, 7):
            problems.append("%s: new %s array at %d" % (where, "float" if atype == 6 else "double", pc))
        if op in JSR_RET:
            problems.append("%s: %s at %d" % (where, JSR_RET[op], pc))
        needed.update(targets)
    if has_table:
        problems.append("%s: StackMapTable instead of a CLDC StackMap" % where)
    if needed:
        if stackmap is None:
            problems.append("%s: branches but no StackMap" % where)
        else:
            missing = sorted(needed - set(stackmap_offsets(stackmap)))
            if missing:
                problems.append("%s: StackMap has no frame at %s" % (where, missing))
    return problems


def class_files(path):
    if path.endswith(".class"):
        with open(path, "rb") as f:
            yield path, f.read()
        return
    with zipfile.ZipFile(path) as jar:
        for info in jar.infolist():
            if info.filename.endswith(".class"):
                yield info.filename, jar.read(info)


def main(paths):
    problems = []
    classes = 0
    for path in paths:
        for name, data in class_files(path):
            classes += 1
            problems += scan_class(name, data)
    for p in problems:
        print(p)
    if classes == 0:
        print("no class files in " + " ".join(paths))
        return 1
    print("%d class files, %d problems" % (classes, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
