#!/usr/bin/env python3
"""Draws the player's icons and cursor (resources/*.ico, *.cur) from the pixel art below.

Run once after changing the art; the generated files are committed so the build needs no Python.
"""
import struct
from pathlib import Path

SIZE = 32

# Drawn large: the board's buttons are 20 x 20, so the icons are shown at 16 x 16.
PLAY = [
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "        #                       ",
    "        ##                      ",
    "        ####                    ",
    "        ######                  ",
    "        #######                 ",
    "        #########               ",
    "        ###########             ",
    "        ############            ",
    "        ##############          ",
    "        ################        ",
    "        ##################      ",
    "        ##################      ",
    "        ################        ",
    "        ##############          ",
    "        ############            ",
    "        ###########             ",
    "        #########               ",
    "        #######                 ",
    "        ######                  ",
    "        ####                    ",
    "        ##                      ",
    "        #                       ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
]

STOP = [
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "       ##################       ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
]

# '#' black outline, '.' white fill, ' ' transparent. The index finger's tip is the hot spot.
HAND = [
    "     ##                         ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..#                        ",
    "    #..###                      ",
    "    #..#..###                   ",
    "    #..#..#..##                 ",
    "    #..#..#..#.#                ",
    " ## #........#.#                ",
    "#..##..........#                ",
    "#...#..........#                ",
    " #.............#                ",
    "  #............#                ",
    "  #...........#                 ",
    "   #..........#                 ",
    "   #.........#                  ",
    "    #........#                  ",
    "    #........#                  ",
    "    ##########                  ",
] + [" " * 32] * 12
HAND_HOTSPOT = (6, 0)

# The application icon: a picture frame with a question mark, in the default quiz colour.
APP = [
    "                                ",
    "  ############################  ",
    "  #oooooooooooooooooooooooooo#  ",
    "  #oooooooooooooooooooooooooo#  ",
    "  #oo......................oo#  ",
    "  #oo......................oo#  ",
    "  #oo........######........oo#  ",
    "  #oo.......########.......oo#  ",
    "  #oo......###....###......oo#  ",
    "  #oo......##......##......oo#  ",
    "  #oo..............##......oo#  ",
    "  #oo.............###......oo#  ",
    "  #oo............###.......oo#  ",
    "  #oo...........###........oo#  ",
    "  #oo..........###.........oo#  ",
    "  #oo..........##..........oo#  ",
    "  #oo..........##..........oo#  ",
    "  #oo......................oo#  ",
    "  #oo......................oo#  ",
    "  #oo..........##..........oo#  ",
    "  #oo..........##..........oo#  ",
    "  #oo......................oo#  ",
    "  #oo......................oo#  ",
    "  #oo..ggg..........gggg...oo#  ",
    "  #oo.ggggg.......gggggggg.oo#  ",
    "  #oogggggggg...ggggggggggggo#  ",
    "  #oggggggggggggggggggggggggo#  ",
    "  #oooooooooooooooooooooooooo#  ",
    "  #oooooooooooooooooooooooooo#  ",
    "  ############################  ",
    "                                ",
    "                                ",
]
APP_COLOURS = {  # (blue, green, red, alpha)
    "#": (0x20, 0x20, 0x20, 255),
    "o": (0xA3, 0xCB, 0x35, 255),
    ".": (0xFF, 0xFF, 0xFF, 255),
    "g": (0x30, 0x90, 0x30, 255),
    " ": (0, 0, 0, 0),
}


def rows_bits(rows, is_set):
    """Bottom-up 1-bit rows, 4 bytes per 32-pixel row."""
    out = b""
    for row in reversed(rows):
        value = 0
        for x, ch in enumerate(row.ljust(SIZE)[:SIZE]):
            if is_set(ch):
                value |= 1 << (31 - x)
        out += struct.pack(">I", value)
    return out


def monochrome_image(rows, white, transparent):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    return header + palette + rows_bits(rows, white) + rows_bits(rows, transparent)


def colour_image(rows):
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(APP_COLOURS[ch]) for row in reversed(rows) for ch in row)
    return header + pixels + rows_bits(rows, lambda ch: ch == " ")


def icon_file(kind, image, colours, field1, field2):
    directory = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, colours, 0, field1, field2, len(image), 22)
    return directory + entry + image


def main():
    out = Path(__file__).resolve().parent.parent / "resources"
    opaque = lambda ch: False
    (out / "play.ico").write_bytes(
        icon_file(1, monochrome_image(PLAY, lambda ch: ch == " ", opaque), 2, 1, 1))
    (out / "stop.ico").write_bytes(
        icon_file(1, monochrome_image(STOP, lambda ch: ch == " ", opaque), 2, 1, 1))
    (out / "link.cur").write_bytes(
        icon_file(2, monochrome_image(HAND, lambda ch: ch == ".", lambda ch: ch == " "), 2,
                  *HAND_HOTSPOT))
    (out / "plimo.ico").write_bytes(icon_file(1, colour_image(APP), 0, 1, 32))


if __name__ == "__main__":
    main()
