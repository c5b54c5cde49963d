#!/usr/bin/env python3
"""Writes the DEC translate tables that Tolvi and TolviFTP load from the program folder.

Every file is 512 bytes: bytes 0-255 the outgoing table (Windows ANSI byte typed on the
keyboard -> byte sent to the host), bytes 256-511 the incoming table (byte from the host ->
Windows ANSI byte shown). Both start as the identity and only the positions listed below change.

    make_xlt_tables.py OUTDIR        write DECMULTI and DECNRC.nnn into OUTDIR
    make_xlt_tables.py --check DIR   exit 1 when a file in DIR differs from what would be written
"""
import os
import sys

# DEC Multinational (8-bit) positions whose character differs from Windows-1252 / Latin-1:
# host byte -> Windows-1252 byte of the same character.
DEC_MULTINATIONAL = {
    0xA8: 0xA4,  # currency sign (Latin-1 has the diaeresis here)
    0xD7: 0x8C,  # OE ligature (Latin-1: multiplication sign)
    0xDD: 0x9F,  # Y with diaeresis (Latin-1: Y acute)
    0xF7: 0x9C,  # oe ligature (Latin-1: division sign)
    0xFD: 0xFF,  # y with diaeresis (Latin-1: y acute)
}

# The 7-bit national replacement sets: ASCII position -> Windows-1252 character shown there.
NRC_SETS = {
    "us": {},
    "uk": {"#": "£"},
    "dutch": {"#": "£", "@": "¾", "[": "ÿ", "\\": "½", "]": "|",
              "{": "¨", "|": "ƒ", "}": "¼", "~": "´"},
    "finnish": {"[": "Ä", "\\": "Ö", "]": "Å", "^": "Ü", "`": "é",
                "{": "ä", "|": "ö", "}": "å", "~": "ü"},
    "french": {"#": "£", "@": "à", "[": "°", "\\": "ç", "]": "§",
               "{": "é", "|": "ù", "}": "è", "~": "¨"},
    "french_canadian": {"@": "à", "[": "â", "\\": "ç", "]": "ê", "^": "î",
                        "`": "ô", "{": "é", "|": "ù", "}": "è", "~": "û"},
    "german": {"@": "§", "[": "Ä", "\\": "Ö", "]": "Ü",
               "{": "ä", "|": "ö", "}": "ü", "~": "ß"},
    "italian": {"#": "£", "@": "§", "[": "°", "\\": "ç", "]": "é",
                "`": "ù", "{": "à", "|": "ò", "}": "è", "~": "ì"},
    "norwegian_danish": {"@": "Ä", "[": "Æ", "\\": "Ø", "]": "Å", "^": "Ü",
                         "`": "ä", "{": "æ", "|": "ø", "}": "å", "~": "ü"},
    "portuguese": {"[": "Ã", "\\": "Ç", "]": "Õ", "{": "ã", "|": "ç", "}": "õ"},
    "spanish": {"#": "£", "@": "§", "[": "¡", "\\": "Ñ", "]": "¿",
                "{": "°", "|": "ñ", "}": "ç"},
    "swedish": {"@": "É", "[": "Ä", "\\": "Ö", "]": "Å", "^": "Ü", "`": "é",
                "{": "ä", "|": "ö", "}": "å", "~": "ü"},
    "swiss": {"#": "ù", "@": "à", "[": "é", "\\": "ç", "]": "ê", "^": "î",
              "_": "è", "`": "ô", "{": "ä", "|": "ö", "}": "ü", "~": "û"},
}

# Telephone country code -> national set. Country 0 (the Windows country) and countries
# without a set of their own get the US (plain ASCII) set.
COUNTRY_SETS = {
    0: "us", 1: "us", 2: "french_canadian", 31: "dutch", 32: "french", 33: "french",
    34: "spanish", 39: "italian", 41: "swiss", 43: "german", 44: "uk", 45: "norwegian_danish",
    46: "swedish", 47: "norwegian_danish", 49: "german", 55: "portuguese", 351: "portuguese",
    352: "french", 358: "finnish",
}


def build(incoming_changes):
    """incoming_changes: host byte -> Windows byte. The outgoing table is its inverse."""
    outgoing = list(range(256))
    incoming = list(range(256))
    for host, shown in incoming_changes.items():
        incoming[host] = shown
        outgoing[shown] = host
    return bytes(outgoing + incoming)


def nrc_changes(name):
    return {ord(pos): ch.encode("cp1252")[0] for pos, ch in NRC_SETS[name].items()}


def all_files():
    files = {"DECMULTI": build(DEC_MULTINATIONAL)}
    for country, name in COUNTRY_SETS.items():
        files["DECNRC.%03d" % country] = build(nrc_changes(name))
    return files


def main(argv):
    check = argv[1:2] == ["--check"]
    folder = argv[2] if check else (argv[1] if len(argv) > 1 else None)
    if folder is None:
        print(__doc__, file=sys.stderr)
        return 2
    stale = []
    for name, data in all_files().items():
        path = os.path.join(folder, name)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    for name in stale:
        print("out of date: " + name, file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
