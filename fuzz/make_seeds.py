#!/usr/bin/env python3
"""Seed corpora for the fuzz targets, made from the repository's undo files
(samples/, tests/data/) and edit scripts (tests/scenarios/).

    fuzz/make_seeds.py OUT    writes OUT/undo_file, OUT/editor_messages, OUT/edit_script, OUT/history

The editor-message seeds use the opcodes of fuzz/EditorMessagesFuzzer.cpp.
"""
import pathlib
import random
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
MAX_LEN = 4096  # the fuzzers' -max_len: a longer seed would be cut
STRING = 24     # the longest string one editor message carries

# Opcodes and key indexes of EditorMessagesFuzzer.cpp.
OP_KEY, OP_CHARS, OP_IME, OP_MOUSE, OP_CLIPBOARD = 0, 3, 4, 5, 6
OP_COPY, OP_CUT, OP_PASTE, OP_UNDO, OP_REDO = 7, 8, 9, 10, 11
KEY_LEFT, KEY_HOME, KEY_END, KEY_A = 0, 4, 5, 16
SHIFT, CTRL = 1, 2


def undo_files():
    return sorted(ROOT.glob("samples/*.eud")) + sorted(ROOT.glob("tests/data/*.eud"))


def text_of(eud: bytes) -> bytes:
    for line in eud.split(b"\r\n"):
        if line.startswith(b"TEXT="):
            return line[5:].replace(b"\x01\x01", b"\r\n")
    return b""


def head_lines(data: bytes, limit: int) -> bytes:
    """Data cut after its last whole line within Limit bytes."""
    if len(data) <= limit:
        return data
    cut = data.rfind(b"\r\n", 0, limit)
    return data[: cut + 2] if cut >= 0 else data[:limit]


def walks(rng):
    """Moves after the NUL: back to the start and forward again, and a random walk."""
    yield b""
    yield bytes([0x80] * 8 + [0x7F] * 8)
    yield bytes(rng.randrange(256) for _ in range(24))


def undo_file_seeds(rng):
    for path in undo_files():
        data = path.read_bytes()
        for i, walk in enumerate(walks(rng)):
            body = head_lines(data, MAX_LEN - len(walk) - 1)
            yield f"{path.stem}-{i}", body + (b"\0" + walk if walk else b"")


def history_seeds(rng):
    """The undo files with the questions after a NUL: points a, b and n, then a search."""
    for path in undo_files():
        data = path.read_bytes()
        text = text_of(data)
        for i in range(3):
            needle = text[rng.randrange(max(1, len(text))):][:rng.randrange(1, 5)]
            ask = bytes([rng.randrange(256) for _ in range(3)]) + bytes([len(needle)]) + needle
            yield f"{path.stem}-{i}", head_lines(data, MAX_LEN - len(ask) - 1) + b"\0" + ask


def typing(text: bytes) -> bytes:
    out = bytearray()
    for i in range(0, len(text), STRING):
        chunk = text[i : i + STRING]
        out += bytes([OP_CHARS, len(chunk)]) + chunk
    return bytes(out)


def editor_message_seeds(rng):
    for path in undo_files():
        text = text_of(path.read_bytes())[:1500]
        ops = bytearray([1])  # the input method echoes its results
        ops += typing(text)
        ops += bytes([OP_KEY, KEY_HOME, CTRL, OP_KEY, KEY_END, SHIFT])  # select to the end of a line
        ops += bytes([OP_CUT, OP_KEY, KEY_A, CTRL, OP_COPY, OP_KEY, KEY_LEFT, 0, OP_PASTE])
        ops += bytes([OP_MOUSE, 0, 40, 20, 0, OP_MOUSE, 1, 90, 60, 0, OP_MOUSE, 2, 90, 60, 0])
        ops += bytes([OP_MOUSE, 3, 60, 20, 0])  # double click
        ime = text[:STRING].split(b"\r")[0]
        ops += bytes([OP_IME, len(ime)]) + ime
        ops += bytes([OP_CLIPBOARD, 4]) + b"ab\r\n" + bytes([OP_PASTE])
        ops += bytes([OP_UNDO] * 6 + [OP_REDO] * 3)
        yield path.stem, bytes(ops[:MAX_LEN])


def script_text(text: bytes) -> str:
    """Bytes as the edit language's TEXT: printable ASCII as it is, the rest as \\xHH."""
    return "".join(chr(b) if 0x20 <= b < 0x7F and b != 0x5C else f"\\x{b:02x}" for b in text)


def edit_script_seeds(rng):
    for path in sorted(ROOT.glob("tests/scenarios/*.script")):
        yield path.stem, path.read_bytes()
    for path in undo_files():
        lines = text_of(path.read_bytes()).split(b"\r\n")[:12]
        script = "".join(f"type {script_text(line[:60])}\nchar 13\n" for line in lines)
        script += "key HOME +ctrl\nkey END +shift\ncut\nkey A +ctrl\ncopy\nkey DOWN\npaste\n"
        script += "down 60 20\nmove 120 60\nup 120 60\ndblclick 70 20\nundo\nundo\nredo\ndump\nrecords\n"
        yield path.stem, script.encode("ascii")[:MAX_LEN]


def main():
    out = pathlib.Path(sys.argv[1])
    rng = random.Random(932)
    for name, seeds in (("undo_file", undo_file_seeds), ("editor_messages", editor_message_seeds),
                        ("edit_script", edit_script_seeds), ("history", history_seeds)):
        folder = out / name
        folder.mkdir(parents=True, exist_ok=True)
        for stem, data in seeds(rng):
            (folder / f"seed-{stem}").write_bytes(data)


if __name__ == "__main__":
    main()
