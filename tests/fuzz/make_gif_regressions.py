#!/usr/bin/env python3
"""Writes the inputs of the GIF regression corpora, made by hand or found
by the fuzzer: into corpus/gif_decode_fuzz files that once took too long,
held too much, or decoded wrongly; into corpus/gif_frame_fuzz frames that
the frame work once got wrong. Run it again after changing it; the files
are committed."""
import base64
import os
import struct

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
OUT = os.path.join(CORPUS, "gif_decode_fuzz")


def header(width, height, colours=0):
    """GIF89a, a logical screen, and a grey global table of 2**n >= colours entries."""
    b = b"GIF89a" + struct.pack("<HH", width, height)
    if colours:
        bits = max(1, (colours - 1).bit_length())
        b += bytes([0x80 | 0x70 | (bits - 1), 0, 0])
        b += b"".join(bytes([i, i, i]) for i in range(2 ** bits))
    else:
        b += bytes([0x70, 0, 0])
    return b


def descriptor(width, height, interlaced=False, left=0, top=0):
    return b"," + struct.pack("<HHHHB", left, top, width, height, 0x40 if interlaced else 0)


def transparent(index):
    """A graphic control extension that makes index transparent."""
    return b"!\xf9\x04\x01\0\0" + bytes([index]) + b"\0"


def sub_blocks(data):
    out = b""
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out += bytes([len(chunk)]) + chunk
    return out + b"\0"


def pack(codes):
    """(code, width) pairs, least significant bit first."""
    bucket = bits = 0
    out = bytearray()
    for code, width in codes:
        bucket |= code << bits
        bits += width
        while bits >= 8:
            out.append(bucket & 255)
            bucket >>= 8
            bits -= 8
    if bits:
        out.append(bucket)
    return bytes(out)


def lzw(pixels, code_size, full_codes):
    """LZW that fills the table to 4096 entries, then writes full_codes
    codes at 12 bits adding nothing, then clears."""
    clear, end = 1 << code_size, (1 << code_size) + 1
    codes, table, width, nxt, full = [], {}, code_size + 1, clear + 2, 0

    def put(code):
        nonlocal width
        codes.append((code, width))
        if code == clear:
            width = code_size + 1
        elif nxt > (1 << width) - 1 and width < 12:
            width += 1

    put(clear)
    prefix = pixels[0]
    for p in pixels[1:]:
        if (prefix, p) in table:
            prefix = table[(prefix, p)]
            continue
        put(prefix)
        if nxt < 4096:
            table[(prefix, p)] = nxt
            nxt += 1
        elif full == full_codes:
            put(clear)
            table, nxt, full = {}, clear + 2, 0
        else:
            full += 1
        prefix = p
    put(prefix)
    put(end)
    return bytes([code_size]) + sub_blocks(pack(codes))


def minimal_data():
    """Code size 2: clear, pixel 0, end."""
    return bytes([2]) + sub_blocks(pack([(4, 3), (0, 3), (5, 3)]))


def write(name, data, folder=OUT):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    # One frame of 2560 x 11264 pixels announced by a few hundred bytes.
    data = bytes([8]) + sub_blocks(pack([(256, 9)] + [(i, 9) for i in range(200)] + [(257, 9)]))
    write("frame_2560x11264.gif", header(2560, 11264, 256)[:13] + descriptor(2560, 11264) + data + b";")
    # 100,000 empty comments in front of one frame: freeing them once took minutes.
    write("comments_100000.gif", header(1, 1, 2) + b"!\xfe\0" * 100000 + descriptor(1, 1) + minimal_data() + b";")
    # 80,000 frames without image data.
    write("frames_80000.gif", header(1, 1, 2) + (descriptor(1, 1) + b"\2\0") * 80000 + b";")
    # 40 frames of 4096 x 8192: more pixels in all than one image may hold.
    write("frames_40_of_4096x8192.gif", header(4096, 8192) + (descriptor(4096, 8192) + minimal_data()) * 40 + b";")
    # A clear code directly followed by the end code (code size 8).
    write("clear_then_end.gif", header(4, 1, 256) + descriptor(4, 1) + bytes([8]) + sub_blocks(pack([(256, 9), (257, 9)])) + b";")
    # After a clear code, 7: a code that no table holds yet.
    write("code_beyond_table_after_clear.gif", header(6, 1, 4) + descriptor(6, 1) + bytes([2])
          + sub_blocks(pack([(4, 3), (1, 3), (2, 3), (4, 3), (7, 3), (1, 3), (5, 3)])) + b";")
    # Data that ends within a code.
    write("data_ends_within_code.gif", header(3, 1, 4) + descriptor(3, 1) + bytes([2])
          + sub_blocks(pack([(4, 3), (1, 3), (2, 2)])) + b";")
    # A table kept full for thousands of codes without a clear code, then one.
    pixels, x = [], 1
    for _ in range(120 * 100):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        pixels.append((x >> 16) % 64)
    write("full_table_without_clear.gif", header(120, 100, 64) + descriptor(120, 100, True)
          + lzw(pixels, 6, 3000) + b";")

    frames = os.path.join(CORPUS, "gif_frame_fuzz")
    # Three frames on one global map: the second is transparent at index 3,
    # which the third shows as a colour; merging the third must not borrow it.
    write("borrowed_index_shown.gif", header(4, 2, 4)
          + descriptor(4, 2) + lzw([0, 1, 2, 3, 1, 1, 2, 2], 2, 0)
          + transparent(3) + descriptor(2, 2, left=2) + lzw([3, 0, 3, 3], 2, 0)
          + descriptor(4, 2) + lzw([0, 1, 3, 0, 1, 2, 2, 2], 2, 0) + b";", frames)
    # The second frame's pixel 2 lies beyond its local map of two colours:
    # black appended for transparency would take that index over.
    write("new_index_already_shown.gif", header(2, 1, 4) + descriptor(2, 1) + lzw([0, 1], 2, 0)
          + b",\0\0\0\0\2\0\1\0\x80" + bytes([0, 0, 0, 9, 9, 9]) + lzw([0, 2], 2, 0) + b";", frames)
    # A frame wider than the screen, then one beyond it that holds only its
    # transparent index: cropping clears it, which must not grow the screen.
    write("cleared_beyond_the_screen.gif", header(2, 1, 4) + descriptor(40, 1) + lzw([0] * 40, 2, 0)
          + transparent(1) + descriptor(2, 1, left=30) + lzw([1, 1], 2, 0) + b";", frames)
    # A transparent frame with borders of its transparent index, partly off the screen.
    write("transparent_borders.gif", header(6, 5, 4) + transparent(2)
          + descriptor(6, 6, left=1, top=1) + lzw([2] * 8 + [0, 1, 2, 2, 2, 2, 1, 0] + [2] * 20, 2, 0) + b";", frames)
    # Found by the fuzzer: a transparent frame at (65535, 65535) whose first
    # visible column lies 123 to the right, where no 16-bit left reaches.
    write("cropped_beyond_16_bits.gif", base64.b64decode(
        "R0lGODlhKAAeAPMAAP8AAAAA/0JC/0ND/19f/2Bg/8rK/+7u//7+/////wAAAAAAAAAAAAAAAAAAAAAAACH5BAEAAAoAlP/////YBB4AAASQ"
        "UMlJq7046827/xMgjmQ5gpapDmi1vkBLwasc0qYt4bnOs77fAAAKEGwAAAAAKAAeAAAEkFDJSau9OOvNu/8TII5kOYKWqZZotb5AS8GrHNKm"
        "LeG5zrO+3ykojBFAu0GWjoIgk2T/qZZotb5AS8GrHNKmLeG5zrO+3ykojBGFmISecaSlbVFeVZKqE0qvsB8RADs="), frames)


if __name__ == "__main__":
    main()
