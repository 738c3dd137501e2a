#!/usr/bin/env python3
"""Writes the demo patch's generated files from the installed-application
fixture: the XOR delta (Proc1), the added file (Proc2), the byte-pattern
records (Proc4), the script with the CRC-32 values of the installed files,
the two side images and the link cursor; and the files of the updated
application that follow from the installed ones (the read-me after the byte
patch, the settings after the INI update), which the demo checks against.

Run it again after changing anything under installed/ or updated/."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
INSTALLED = os.path.join(HERE, "installed", "DemoApp")
UPDATED = os.path.join(HERE, "updated", "DemoApp")
PATCH = os.path.join(HERE, "patch")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(name, data):
    with open(os.path.join(PATCH, name), "wb") as f:
        f.write(data)


def signed_crc(data):
    """CRC-32 (IEEE 802.3) written as the script wants it: signed 32-bit."""
    crc = zlib.crc32(data) & 0xFFFFFFFF
    return crc - (1 << 32) if crc >= 1 << 31 else crc


def xor_delta(old, new):
    """Bytes of new XOR old where both exist, new's own bytes beyond old."""
    n = min(len(old), len(new))
    return bytes(a ^ b for a, b in zip(new[:n], old[:n])) + new[len(old):]


def patch_records(records):
    """Header (count, reserved) and records (type, pattern, replacement)."""
    out = struct.pack("<II", len(records), 0)
    for kind, pattern, replacement in records:
        out += struct.pack("<II", kind, len(pattern)) + pattern
        out += struct.pack("<I", len(replacement)) + replacement
    return out


def apply_records(data, records):
    """The byte-pattern patch as the runtime applies it: type 1 replaces the
    first occurrence, type 2 every occurrence (same-length replacements)."""
    for kind, pattern, replacement in records:
        assert len(pattern) == len(replacement) and pattern in data
        data = data.replace(pattern, replacement, 1 if kind == 1 else -1)
    return data


def update_ini(data, keys):
    """Sets (section, key, value) in an INI text: an existing key keeps its
    place, a new key ends its section, a new section ends the file."""
    sections = []  # [name, [[key, value], ...]]
    for line in data.decode("ascii").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            sections.append([line[1:-1], []])
        elif "=" in line:
            key, value = line.split("=", 1)
            sections[-1][1].append([key, value])
    for section, key, value in keys:
        entries = next((s[1] for s in sections if s[0].lower() == section.lower()), None)
        if entries is None:
            entries = []
            sections.append([section, entries])
        entry = next((e for e in entries if e[0].lower() == key.lower()), None)
        if entry:
            entry[1] = value
        else:
            entries.append([key, value])
    text = "\r\n".join("[%s]\r\n" % name + "".join("%s=%s\r\n" % (k, v) for k, v in entries)
                        for name, entries in sections)
    return text.encode("ascii")


def bitmap(width, height, top, bottom):
    """A 24-bit bottom-up Windows bitmap file with a vertical gradient."""
    row = (width * 3 + 3) & ~3
    pixels = b""
    for y in range(height):  # bottom row first
        t = y / max(1, height - 1)
        colour = bytes(int(bottom[i] + (top[i] - bottom[i]) * t) for i in (2, 1, 0))
        pixels += (colour * width).ljust(row, b"\0")
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def hand_cursor():
    """A 32x32 monochrome cursor (.cur) with its hot spot at the fingertip."""
    shape = [
        "      XX        ",
        "     X..X       ",
        "     X..X       ",
        "     X..X       ",
        "     X..XXX     ",
        "     X..X..XXX  ",
        "  XX X..X..X..XX",
        " X..XX..X..X..X.X",
        " X...X........X.X",
        "  X...........X.X",
        "   X............X",
        "   X...........X ",
        "    X..........X ",
        "    X.........X  ",
        "     X........X  ",
        "     XXXXXXXXXX  ",
    ]
    xor_rows, and_rows = [], []
    for y in range(32):
        line = shape[y] if y < len(shape) else ""
        xor_bits = and_bits = 0
        for x in range(32):
            c = line[x] if x < len(line) else " "
            bit = 1 << (31 - x)
            if c == " ":
                and_bits |= bit  # transparent
            elif c == ".":
                xor_bits |= bit  # white
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    xor_mask = b"".join(reversed(xor_rows))
    and_mask = b"".join(reversed(and_rows))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor_mask) + len(and_mask), 0, 0, 2, 0)
    palette = b"\0\0\0\0\xff\xff\xff\0"
    image = info + palette + xor_mask + and_mask
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, 6, 0, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + image


def main():
    app_old = read(os.path.join(INSTALLED, "app.txt"))
    app_new = read(os.path.join(UPDATED, "app.txt"))
    readme = read(os.path.join(INSTALLED, "readme.txt"))
    write("Proc1", xor_delta(app_old, app_new))
    write("Proc2", read(os.path.join(UPDATED, "plugins", "newfeature.txt")))
    readme_records = [
        (1, b"Version 1.0", b"Version 1.1"),
        (2, b"(old)", b"(new)"),
    ]
    write("Proc4", patch_records(readme_records))
    settings_keys = [("Main", "Version", "1.1"), ("Features", "NewFeature", "1")]
    with open(os.path.join(UPDATED, "readme.txt"), "wb") as f:
        f.write(apply_records(readme, readme_records))
    with open(os.path.join(UPDATED, "settings.ini"), "wb") as f:
        f.write(update_ini(read(os.path.join(INSTALLED, "settings.ini")), settings_keys))
    script = f"""; Demo patch: DemoApp 1.0 to 1.1
[Setup]
ProcCount=5
AddReg=1
DelReg=0
RenReg=0

; Update the program text from an XOR delta; the folder comes from the registry.
[Proc1]
File=app.txt
Act=2
CRC={signed_crc(app_old)}
Dir=Reg
RegKey=HKCU,Software\\ZuliDemo\\DemoApp,InstallPath
CANTMISS=1
CANTDIFF=1

; Add a new file in a subfolder that does not exist yet.
[Proc2]
File=newfeature.txt
Act=1
Dir=Pre
Sub=plugins

; Write two keys into the settings file.
[Proc3]
File=settings.ini
Act=5
Dir=Pre
Count=2
INIKey1={",".join(settings_keys[0])}
INIKey2={",".join(settings_keys[1])}

; Patch byte patterns in the read-me.
[Proc4]
File=readme.txt
Act=3
CRC={signed_crc(readme)}
Dir=Pre

; Remove a file the new version no longer needs.
[Proc5]
File=obsolete.txt
Act=4
Dir=Pre

[AddReg]
1=HKCU,Software\\ZuliDemo\\DemoApp,Version,1,4,1.1
"""
    write("Setup.ini", script.replace("\n", "\r\n").encode("ascii"))
    write("Setup.img", bitmap(82, 157, (40, 90, 170), (200, 220, 250)))
    write("Zuli.img", bitmap(82, 157, (150, 40, 60), (250, 210, 170)))
    write("link.cur", hand_cursor())


if __name__ == "__main__":
    main()
