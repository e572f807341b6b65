#!/usr/bin/python3
"""Reads and writes tags with mutagen for the interop tests, in a line format the C++ side parses
without a JSON reader: one record a line, fields separated by tabs, with backslash escapes for
backslash, tab, line breaks and zero characters.

  peer_tags.py read FILE              what mutagen reads from the file
  peer_tags.py write FILE VERSION V1 FRAMES
                                      tags FILE with the records in FRAMES (a file in the same
                                      format), as ID3v2.VERSION; V1 is mutagen's ID3v1 mode
                                      (0 remove, 1 update, 2 create)
  peer_tags.py json FILE...           checks that each FILE holds one JSON value (UTF-8) and
                                      prints "FILE<TAB>path", then the value flattened:
                                      "a.b.0.c<TAB>type<TAB>value" lines; "INVALID<TAB>why"
                                      instead when it is not valid JSON

Records (read and write):
  ID3V2 major | NOID3V2
  T id enc value...        text frames but TXXX (TCON: the genres as mutagen interprets them)
  TXXX enc desc value...
  COMM enc lang desc text...
  USLT enc lang desc text
  USER enc lang text
  APIC enc mime type desc hexdata
  W id url                 URL frames but WXXX
  WXXX enc desc url
  POPM email rating count
  PCNT count
  PRIV owner hexdata
  OTHER id                 any other frame
  ID3V1 title artist album year comment track genre | NOID3V1
"""

import json
import sys

from mutagen import id3
from mutagen.id3 import _id3v1


def escape(value):
    text = str(value)
    return (text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
            .replace("\r", "\\r").replace("\0", "\\0"))


def unescape(field):
    out = []
    i = 0
    while i < len(field):
        ch = field[i]
        if ch == "\\" and i + 1 < len(field):
            nxt = field[i + 1]
            out.append({"t": "\t", "n": "\n", "r": "\r", "0": "\0"}.get(nxt, nxt))
            i += 2
        else:
            out.append(ch)
            i += 1
    return "".join(out)


def emit(*fields):
    sys.stdout.write("\t".join(escape(f) for f in fields) + "\n")


def frame_record(frame):
    fid = frame.FrameID
    enc = int(getattr(frame, "encoding", 0))
    if isinstance(frame, id3.TXXX):
        return ["TXXX", enc, frame.desc] + list(frame.text)
    if isinstance(frame, id3.TCON):
        return ["T", fid, enc] + list(frame.genres)
    if isinstance(frame, id3.PairedTextFrame):
        flat = []
        for pair in frame.people:
            flat.extend(pair)
        return ["T", fid, enc] + flat
    # COMM is a text frame to mutagen; its layout is not.
    if isinstance(frame, id3.COMM):
        return ["COMM", enc, frame.lang, frame.desc] + list(frame.text)
    if isinstance(frame, id3.TextFrame):
        return ["T", fid, enc] + [str(v) for v in frame.text]
    if isinstance(frame, id3.USLT):
        return ["USLT", enc, frame.lang, frame.desc, frame.text]
    if isinstance(frame, id3.USER):
        return ["USER", enc, frame.lang, frame.text]
    if isinstance(frame, id3.APIC):
        return ["APIC", enc, frame.mime, int(frame.type), frame.desc, frame.data.hex()]
    if isinstance(frame, id3.WXXX):
        return ["WXXX", enc, frame.desc, frame.url]
    if isinstance(frame, id3.UrlFrame):
        return ["W", fid, frame.url]
    if isinstance(frame, id3.POPM):
        return ["POPM", frame.email, frame.rating, getattr(frame, "count", 0)]
    if isinstance(frame, id3.PCNT):
        return ["PCNT", frame.count]
    if isinstance(frame, id3.PRIV):
        return ["PRIV", frame.owner, frame.data.hex()]
    return ["OTHER", fid]


def read_id3v1(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 128 or data[-128:-125] != b"TAG":
        return None
    frames = _id3v1.ParseID3v1(data[-128:], v2_version=4)
    if frames is None:
        return None

    def text(fid):
        return frames[fid].text[0] if fid in frames else ""

    track = int(text("TRCK") or 0)
    genre = int(text("TCON")) if "TCON" in frames else 255
    return [text("TIT2"), text("TPE1"), text("TALB"), text("TDRC"),
            text("COMM"), track, genre]


def cmd_read(path):
    try:
        tags = id3.ID3(path, translate=False, load_v1=False)
    except id3.ID3NoHeaderError:
        tags = None
    if tags is None:
        emit("NOID3V2")
    else:
        emit("ID3V2", tags.version[1])
        for frame in tags.values():
            emit(*frame_record(frame))
    v1 = read_id3v1(path)
    if v1 is None:
        emit("NOID3V1")
    else:
        emit("ID3V1", *v1)


def make_frame(fields):
    kind = fields[0]
    if kind == "T":
        cls = getattr(id3, fields[1])
        return cls(encoding=int(fields[2]), text=fields[3:])
    if kind == "TXXX":
        return id3.TXXX(encoding=int(fields[1]), desc=fields[2], text=fields[3:])
    if kind == "COMM":
        return id3.COMM(encoding=int(fields[1]), lang=fields[2], desc=fields[3], text=fields[4:])
    if kind == "USLT":
        return id3.USLT(encoding=int(fields[1]), lang=fields[2], desc=fields[3], text=fields[4])
    if kind == "USER":
        return id3.USER(encoding=int(fields[1]), lang=fields[2], text=fields[3])
    if kind == "APIC":
        return id3.APIC(encoding=int(fields[1]), mime=fields[2], type=int(fields[3]),
                        desc=fields[4], data=bytes.fromhex(fields[5]))
    if kind == "W":
        return getattr(id3, fields[1])(url=fields[2])
    if kind == "WXXX":
        return id3.WXXX(encoding=int(fields[1]), desc=fields[2], url=fields[3])
    if kind == "POPM":
        return id3.POPM(email=fields[1], rating=int(fields[2]), count=int(fields[3]))
    if kind == "PCNT":
        return id3.PCNT(count=int(fields[1]))
    if kind == "PRIV":
        return id3.PRIV(owner=fields[1], data=bytes.fromhex(fields[2]))
    raise ValueError("unknown record " + kind)


def cmd_write(path, version, v1, frames):
    tags = id3.ID3()
    with open(frames, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            if line:
                tags.add(make_frame([unescape(x) for x in line.split("\t")]))
    if int(version) == 3:
        # mutagen keeps 2.4 frames (TDRC...) in a 2.3 tag unless asked to convert them.
        tags.update_to_v23()
    # Multiple values stay separate (zero-separated) in 2.3 too, as several editors write them.
    tags.save(path, v2_version=int(version), v23_sep=None, v1=int(v1))


def flatten(prefix, value):
    if isinstance(value, dict):
        for key, item in value.items():
            flatten(prefix + [str(key)], item)
    elif isinstance(value, list):
        emit(".".join(prefix), "array", len(value))
        for index, item in enumerate(value):
            flatten(prefix + [str(index)], item)
    elif value is None:
        emit(".".join(prefix), "null", "")
    elif isinstance(value, bool):
        emit(".".join(prefix), "bool", "true" if value else "false")
    elif isinstance(value, int):
        emit(".".join(prefix), "int", value)
    elif isinstance(value, str):
        emit(".".join(prefix), "string", value)
    else:
        emit(".".join(prefix), type(value).__name__, value)


def cmd_json(paths):
    for path in paths:
        emit("FILE", path)
        try:
            with open(path, "rb") as f:
                value = json.loads(f.read().decode("utf-8"))
        except ValueError as e:
            emit("INVALID", str(e))
            continue
        flatten([], value)


def main(argv):
    sys.stdout.reconfigure(encoding="utf-8", errors="backslashreplace", newline="\n")
    if len(argv) == 3 and argv[1] == "read":
        cmd_read(argv[2])
    elif len(argv) == 6 and argv[1] == "write":
        cmd_write(argv[2], argv[3], argv[4], argv[5])
    elif len(argv) >= 3 and argv[1] == "json":
        cmd_json(argv[2:])
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
