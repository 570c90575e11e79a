#!/usr/bin/env python3
"""Builds Ravelind's day icons and main icon from the text in res/icons.

    iconforge.py --source res/icons --output build/icons [--sheet sheet.png]

Reads, for each size N a day picture is drawn for, frameN.txt (the calendar
page and where the number goes) and digitsN.txt (the digit glyphs), and
main16.txt (the small picture of the main icon), and writes into the output
directory day01.ico ... day31.ico and main.ico, and DayPictures.inc: the
small sizes' pages and digits as C++ tables, from which the program draws a
day's small picture as it needs it (tray/DayPicture.cpp), the way
day_picture() below does. With --sheet it also writes an enlarged PNG of all
the pictures for a person to look over. Standard library only: it runs
wherever CMake found a Python.
"""

import argparse
import os
import struct
import sys
import zlib

# The standard 16-colour Windows palette, by index.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, LIGHT_GREY, WHITE = 0, 7, 15

FRAME_CODES = {"#": BLACK, ":": LIGHT_GREY, ".": WHITE}
INK_CODES = {"#": True, ".": False}
# The sizes a day picture is drawn for. The day icons store only the 32 px
# page, as they always have. The others are the tray's small-icon sizes at
# 100, 125, 150, 175, 225, 250 and 300 % scale; they sit on the task bar,
# light or dark, transparent around their page. As images they would cost
# the program some 100 KB; as tables of bit rows, from which the program
# draws the day it shows, some 10 KB.
ICON_SIZE = 32
DRAWN_SIZES = (16, 20, 24, 28, 36, 40, 48)
DAY_SIZES = (ICON_SIZE,) + DRAWN_SIZES
# The 32-px pages and the main icon store the whole standard palette.
ALL_COLOURS = tuple(range(16))
SMALL_SIZE = 16
DAYS = range(1, 32)


class DescriptionError(Exception):
    """A mistake in the description files, with the place it was found."""


def is_comment(line):
    # Pictures are drawn with '#', so a comment is '#' followed by a space
    # (or a bare '#'); a picture row never contains a space.
    return line == "#" or line.startswith("# ")


def read_lines(path):
    """The meaningful lines of a description file as (line number, text)."""
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, start=1):
            line = raw.rstrip("\r\n").rstrip()
            if line and not is_comment(line):
                yield number, line


def read_picture(lines, path, first, width, height, codes):
    """Takes `height` picture rows of `width` characters from `lines`; a
    width of None takes the first row's width for all of them."""
    rows = []
    for _ in range(height):
        try:
            number, line = next(lines)
        except StopIteration:
            raise DescriptionError(f"{path}: picture after line {first} is cut short")
        width = width or len(line)
        if len(line) != width or any(ch not in codes for ch in line):
            raise DescriptionError(
                f"{path}:{number}: expected {width} of {''.join(codes)}, got {line!r}")
        rows.append([codes[ch] for ch in line])
    return rows


def parse_days(words, path, number):
    days = []
    for word in words:
        low, _, high = word.partition("-")
        try:
            start, end = int(low), int(high or low)
        except ValueError:
            raise DescriptionError(f"{path}:{number}: bad day range {word!r}")
        days.extend(range(start, end + 1))
    return days


def read_frame(path, size):
    """The page picture (size x size) and the number layout rules."""
    frame, gap, centre, tops = None, None, None, {}
    lines = read_lines(path)
    for number, line in lines:
        words = line.split()
        if words == ["frame"]:
            frame = read_picture(lines, path, number, size, size, FRAME_CODES)
        elif words[0] == "digit-gap" and len(words) == 2:
            gap = int(words[1])
        elif words[0] == "centre-columns" and len(words) == 3:
            centre = (int(words[1]), int(words[2]))
        elif words[0] == "number-top" and len(words) >= 3 and words[1].endswith(":"):
            top = int(words[1][:-1])
            for day in parse_days(words[2:], path, number):
                if day in tops:
                    raise DescriptionError(f"{path}:{number}: day {day} placed twice")
                tops[day] = top
        else:
            raise DescriptionError(f"{path}:{number}: cannot read {line!r}")
    if frame is None or gap is None or centre is None:
        raise DescriptionError(f"{path}: needs frame, digit-gap and centre-columns")
    missing = [day for day in DAYS if day not in tops]
    if missing:
        raise DescriptionError(f"{path}: no number-top for days {missing}")
    return frame, gap, centre, tops


def read_digits(path):
    """The ten glyphs of a digit set, as rows of booleans (True = ink)."""
    glyphs, height = {}, None
    lines = read_lines(path)
    for number, line in lines:
        words = line.split()
        if height is None:
            if len(words) != 2 or words[0] != "height" or not words[1].isdigit():
                raise DescriptionError(f"{path}:{number}: expected 'height N', got {line!r}")
            height = int(words[1])
            continue
        if len(words) != 2 or words[0] != "digit" or words[1] not in "0123456789":
            raise DescriptionError(f"{path}:{number}: expected 'digit N', got {line!r}")
        glyphs[words[1]] = read_picture(lines, path, number, None, height, INK_CODES)
    if sorted(glyphs) != list("0123456789"):
        raise DescriptionError(f"{path}: needs each digit 0 to 9 once")
    if len({len(g[0]) for g in glyphs.values()}) != 1:
        raise DescriptionError(f"{path}: the digit cells differ in width")
    return glyphs


def read_small(path):
    """The 16 x 16 picture of main16.txt as rows of booleans (True = ink)."""
    lines = read_lines(path)
    for number, line in lines:
        if line == "small":
            return read_picture(lines, path, number, SMALL_SIZE, SMALL_SIZE, INK_CODES)
        raise DescriptionError(f"{path}:{number}: expected 'small', got {line!r}")
    raise DescriptionError(f"{path}: no picture")


def number_ink(text, glyphs, gap):
    """The number's digits set side by side, trimmed to their ink columns."""
    cell = len(glyphs["0"][0])
    width = len(text) * cell + (len(text) - 1) * gap
    rows = [[False] * width for _ in glyphs["0"]]
    for i, digit in enumerate(text):
        left = i * (cell + gap)
        for y, glyph_row in enumerate(glyphs[digit]):
            for x, ink in enumerate(glyph_row):
                rows[y][left + x] = rows[y][left + x] or ink
    used = [x for x in range(width) if any(row[x] for row in rows)]
    return [row[used[0]:used[-1] + 1] for row in rows]


def read_drawings(source):
    """For each size, what its pictures are drawn from: (frame, glyphs, gap,
    centre, tops), the arguments of day_picture() after the day."""
    drawings = {}
    for size in DAY_SIZES:
        frame, gap, centre, tops = read_frame(os.path.join(source, f"frame{size}.txt"), size)
        glyphs = read_digits(os.path.join(source, f"digits{size}.txt"))
        drawings[size] = (frame, glyphs, gap, centre, tops)
    return drawings


def day_picture(day, frame, glyphs, gap, centre, tops):
    """The colour indices of one day's picture, the size of `frame`."""
    picture = [row[:] for row in frame]
    ink = number_ink(str(day), glyphs, gap)
    width = len(ink[0])
    spare = centre[1] - centre[0] + 1 - width
    left = centre[0] + spare // 2
    top = tops[day]
    spots = [(top + y, left + x) for y, row in enumerate(ink) for x, on in enumerate(row) if on]
    # Ink on an outline or a ring would blur the number into the page.
    if spare < 0 or not all(0 <= min(spot) and max(spot) < len(frame)
                            and frame[spot[0]][spot[1]] == WHITE for spot in spots):
        raise DescriptionError(f"{len(frame)} px, day {day}: the number runs off the paper")
    for y, x in spots:
        picture[y][x] = BLACK
    return picture


# --- ICO writing --------------------------------------------------------------

def row_bytes(bits_per_pixel, width):
    """Bytes in one bitmap row, padded to a 4-byte boundary."""
    return (bits_per_pixel * width + 31) // 32 * 4


def ico_image(pixels, mask, colours):
    """One 4-bit icon image: header, palette, XOR bitmap, AND mask.

    `pixels` are indices into the standard palette, top row first; the image
    stores `colours` of it as its palette (a short one counted in the header)
    and each pixel as its place there. `mask` is True where the pixel is
    transparent. Bitmap rows are stored bottom row first.
    """
    place = {colour: i for i, colour in enumerate(colours)}
    height, width = len(pixels), len(pixels[0])
    xor_stride, and_stride = row_bytes(4, width), row_bytes(1, width)
    xor, and_mask = bytearray(), bytearray()
    for y in reversed(range(height)):
        row = bytearray(xor_stride)
        for x, index in enumerate(pixels[y]):
            row[x // 2] |= place[index] << (4 if x % 2 == 0 else 0)
        xor += row
        bits = bytearray(and_stride)
        for x, clear in enumerate(mask[y]):
            if clear:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 4, 0, len(xor) + len(and_mask),
                         0, 0, len(colours) if len(colours) < 16 else 0, 0)
    palette = b"".join(struct.pack("<BBBB", VGA_PALETTE[c][2], VGA_PALETTE[c][1],
                                   VGA_PALETTE[c][0], 0) for c in colours)
    return header + palette + bytes(xor) + bytes(and_mask)


def ico_file(images):
    """An .ico file holding `images`, each a (pixels, mask, colours) triple."""
    blobs = [ico_image(*image) for image in images]
    directory = struct.pack("<HHH", 0, 1, len(blobs))
    offset = len(directory) + 16 * len(blobs)
    entries = b""
    for (pixels, _, colours), blob in zip(images, blobs):
        size = len(pixels)  # square images; 256 would be written as 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, len(colours), 0, 1, 4,
                               len(blob), offset)
        offset += len(blob)
    return directory + entries + b"".join(blobs)


def write_file(path, data):
    with open(path, "wb") as f:
        f.write(data)


# --- the tables the program draws from ------------------------------------------------

def bit_row(cells):
    """A row of booleans as a number, column 0 in bit 0."""
    return sum(1 << x for x, on in enumerate(cells) if on)


def c_array(kind, name, values, per_line=6):
    lines = [", ".join(values[i:i + per_line]) for i in range(0, len(values), per_line)]
    return f"constexpr {kind} {name}[] = {{\n    " + ",\n    ".join(lines) + "};\n"


def picture_code(drawings):
    """DayPictures.inc: for each drawn size its page (black and white planes),
    its digit glyphs (0 to 9, a row each), their cell, height and gap, the
    centring columns and the number's top row for each day. The Drawing type
    is tray/DayPicture.cpp's."""
    out = ["// Generated by tools/iconforge.py from res/icons. Do not edit.\n"]
    for size, (frame, glyphs, gap, centre, tops) in drawings.items():
        out.append(c_array("std::uint64_t", f"kBlack{size}",
                           [f"0x{bit_row([i == BLACK for i in row]):x}" for row in frame]))
        out.append(c_array("std::uint64_t", f"kWhite{size}",
                           [f"0x{bit_row([i == WHITE for i in row]):x}" for row in frame]))
        out.append(c_array("std::uint32_t", f"kDigits{size}",
                           [f"0x{bit_row(row):x}" for d in "0123456789" for row in glyphs[d]]))
        out.append(c_array("std::uint8_t", f"kTops{size}", [str(tops[d]) for d in DAYS], 16))
    out.append("constexpr Drawing kDrawings[] = {\n" + "".join(
        f"    {{{size}, kBlack{size}, kWhite{size}, kDigits{size}, {len(glyphs['0'][0])}, "
        f"{len(glyphs['0'])}, {gap}, {centre[0]}, {centre[1]}, kTops{size}}},\n"
        for size, (frame, glyphs, gap, centre, tops) in drawings.items()) + "};\n")
    return "\n".join(out).encode()


# --- the review sheet -----------------------------------------------------------

def write_png(path, rgb_rows):
    """A plain 8-bit RGB PNG from rows of (r, g, b) tuples."""
    height, width = len(rgb_rows), len(rgb_rows[0])
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rgb_rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9))
           + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def write_sheet(path, pictures, small, scale=8, per_row=8, margin=8):
    """The 31 day pictures at each size, enlarged `scale` times and then at
    their own size, as the tray shows them; last the small main icon picture
    (transparency shown as a checkerboard), enlarged. On a dark grey sheet."""
    checker = [[(0, 0, 0) if on else
                ((255, 200, 255) if (x // 2 + y // 2) % 2 else (200, 255, 255))
                for x, on in enumerate(row)] for y, row in enumerate(small)]
    blocks = []  # (pictures as rows of RGB, zoom, pictures a row)
    for size in DAY_SIZES:
        tiles = [[[VGA_PALETTE[i] for i in row] for row in p] for p in pictures[size]]
        blocks += [(tiles, scale, per_row), (tiles, 1, len(tiles))]
    blocks.append(([checker], scale, per_row))
    places, height, width = [], margin, 0  # (top, left, zoom, picture) of each tile
    for tiles, zoom, across in blocks:
        pitch = len(tiles[0]) * zoom + margin
        for n, picture in enumerate(tiles):
            places.append((height + n // across * pitch, margin + n % across * pitch,
                           zoom, picture))
        height += (len(tiles) + across - 1) // across * pitch
        width = max(width, margin + min(len(tiles), across) * pitch)
    sheet = [[(64, 64, 64)] * width for _ in range(height)]
    for top, left, zoom, picture in places:
        for y, source in enumerate(picture):
            line = [colour for colour in source for _ in range(zoom)]
            for row in sheet[top + y * zoom:top + (y + 1) * zoom]:
                row[left:left + len(line)] = line
    write_png(path, sheet)


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--source", required=True, help="directory of the description")
    parser.add_argument("--output", required=True, help="directory for the .ico files")
    parser.add_argument("--sheet", help="also write an enlarged PNG of all pictures")
    args = parser.parse_args(argv)

    try:
        drawings = read_drawings(args.source)
        small = read_small(os.path.join(args.source, "main16.txt"))
        pictures = {size: [day_picture(day, *drawing) for day in DAYS]
                    for size, drawing in drawings.items()}
    except (DescriptionError, OSError, ValueError) as error:
        print(f"iconforge: {error}", file=sys.stderr)
        return 1

    def image(picture):  # (pixels, mask, colours)
        return picture, [[False] * len(picture) for _ in picture], ALL_COLOURS

    os.makedirs(args.output, exist_ok=True)
    for n, day in enumerate(DAYS):
        write_file(os.path.join(args.output, f"day{day:02d}.ico"),
                   ico_file([image(pictures[ICON_SIZE][n])]))
    write_file(os.path.join(args.output, "DayPictures.inc"),
               picture_code({size: drawings[size] for size in DRAWN_SIZES}))
    # The main icon: the 1st's page, and for small sizes the bare digit one.
    small_pixels = [[BLACK] * SMALL_SIZE for _ in range(SMALL_SIZE)]
    small_mask = [[not on for on in row] for row in small]
    write_file(os.path.join(args.output, "main.ico"),
               ico_file([image(pictures[32][0]), (small_pixels, small_mask, ALL_COLOURS)]))
    if args.sheet:
        write_sheet(args.sheet, pictures, small)
    return 0


if __name__ == "__main__":
    sys.exit(main())
