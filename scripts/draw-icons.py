#!/usr/bin/env python3
"""Writes the program's pictures (hand-drawn XPM pixel art) and the icon files made from them.

Run from the top of the checkout: python3 scripts/draw-icons.py
Each picture is a grid of one-letter colour keys; "." is the transparent background.
The PNG needs ImageMagick's convert; the ICO is written here byte by byte.
"""
import os
import struct
import subprocess
import sys
from collections import namedtuple

Picture = namedtuple("Picture", "path name palette rows")

PICTURES = [
    # Program icon: an open white envelope, in four colours of the Windows 16-colour palette.
    Picture("resources/mainicon.xpm", "mainicon", [
        ('.', None), ('w', '#FFFFFF'), ('g', '#C0C0C0'), ('d', '#808080'),
        ('k', '#000000'),
    ], [
        "................................",
        "................................",
        "................................",
        "..........dddddddddddk..........",
        ".........dwwwwwwwwwwwwk.........",
        "........dwwwwwwwwwwwwwwk........",
        ".......dwwwwwwwwwwwwwwwwk.......",
        "......dwwwwwwwwwwwwwwwwwwk......",
        ".....dwwwwwwwwwwwwwwwwwwwwk.....",
        "....dwwwwwwwwwwwwwwwwwwwwwwk....",
        "...dwwwwwwwwwwwwwwwwwwwwwwwwk...",
        "..dwwwwwwwwwwwwwwwwwwwwwwwwwwk..",
        ".dwwwwwwwwwwwwwwwwwwwwwwwwwwwwk.",
        ".dddddddddddddddddddddddddddddk.",
        ".dggwwggwwggwwggwwggwwggwwggwwk.",
        ".dggwwggwwggwwggwwggwwggwwggwwk.",
        ".dwwggwwggwwggwwggwwggwwggwwggk.",
        ".dwwggwwggwwggwwggwwggwwggwwggk.",
        ".dggwwwwwwwwwwwwwwwwwwwwwwwwggk.",
        ".dwwggwwwwwwwwwwwwwwwwwwwwggwwk.",
        ".dwwwwggwwwwwwwwwwwwwwwwggwwwwk.",
        ".dwwwwwwggwwwwwwwwwwwwggwwwwwwk.",
        ".dwwwwwwwwggggggggggggwwwwwwwwk.",
        ".dwwwwwwwggwwwwwwwwwwggwwwwwwwk.",
        ".dwwwwwggwwwwwwwwwwwwwwggwwwwwk.",
        ".dwwwggwwwwwwwwwwwwwwwwwwggwwwk.",
        ".dwggwwwwwwwwwwwwwwwwwwwwwwggwk.",
        ".dgwwwwwwwwwwwwwwwwwwwwwwwwwwgk.",
        ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
        "................................",
        "................................",
        "................................",
    ]),
    # Exit: a doorway with its door open and an arrow going in.
    Picture("resources/images/image0.xpm", "image0", [
        ('.', None), ('g', '#808080'), ('l', '#C0C0C0'), ('k', '#000000'),
        ('T', '#008080'), ('D', '#004040'), ('y', '#FFFF00'), ('c', '#00FFFF'),
        ('b', '#006080'),
    ], [
        "................",
        "...gggggggg..DDD",
        "...glkkkkkgDDTTD",
        "...glbkkkkgTTTTD",
        "...gbcbkkkgTTTTD",
        "...gbccbkkgTTTTD",
        "bbbbbcccbkgTTTTD",
        "cccccccccbgTTTTD",
        "ccccccccccbTTyTD",
        "cccccccccbgTTTTD",
        "bbbbbcccbkgTTTTD",
        "...gbccbkkgTTTTD",
        "...gbcbkkkgTTTTD",
        "...glbkkkkgTTTTD",
        "...glkkkkkgDDTTD",
        "...glkkkkkg..DD.",
    ]),
    # Help: a round blue button with a question mark.
    Picture("resources/images/image1.xpm", "image1", [
        ('.', None), ('r', '#C0D8FF'), ('B', '#0050D0'), ('b', '#3078F0'),
        ('d', '#002890'), ('w', '#FFFFFF'),
    ], [
        ".....rrrrrr.....",
        "...rrbbbbBBrr...",
        "..rbbbbbBBBBBr..",
        ".rbbbbwwwwBBBBr.",
        ".rbbbwwBBwwBBBr.",
        "rbbbbBBBBwwBBBBr",
        "rbbbBBBBwwBBBBBr",
        "rbbBBBBwwBBBBBBr",
        "rbBBBBBwwBBBBBBr",
        "rBBBBBBBBBBBBBdr",
        "rBBBBBBwwBBBBddr",
        ".rBBBBBwwBBBddr.",
        ".rBBBBBBBBBdddr.",
        "..rBBBBBBBdddr..",
        "...rrBBBBddrr...",
        ".....rrrrrr.....",
    ]),
    # About: a sheet with a folded corner and a question mark.
    Picture("resources/images/image2.xpm", "image2", [
        ('.', None), ('p', '#D8ECFF'), ('o', '#6080A0'), ('f', '#A8C8E8'),
        ('Q', '#000080'),
    ], [
        "..ooooooooo.....",
        "..opppppppoo....",
        "..opppppppofo...",
        "..opppppppoffo..",
        "..opppppppoooo..",
        "..oppQQQQQpppo..",
        "..opQQpppQQppo..",
        "..opQQpppQQppo..",
        "..oppppppQQppo..",
        "..opppppQQpppo..",
        "..oppppQQppppo..",
        "..oppppQQppppo..",
        "..oppppppppppo..",
        "..oppppQQppppo..",
        "..oppppQQppppo..",
        "..oooooooooooo..",
    ]),
    # Home page: a small house.
    Picture("resources/images/image3.xpm", "image3", [
        ('.', None), ('R', '#A04000'), ('o', '#FF8000'), ('C', '#E00000'),
        ('W', '#4070A0'), ('b', '#B0D8FF'), ('K', '#303030'), ('w', '#FFFFFF'),
    ], [
        "................",
        "...........CC...",
        ".......RR..CC...",
        "......RooR.CC...",
        ".....RooooRCC...",
        "....RooooooRC...",
        "...RooooooooR...",
        "..RooooooooooR..",
        ".RRRRRRRRRRRRRR.",
        "..WbbbbbbbbbbW..",
        "..WbbbbbbbbbbW..",
        "..WbbKKbbbbbbW..",
        "..WbbKKbbwwbbW..",
        "..WbbKKbbwwbbW..",
        "..WbbKKbbbbbbW..",
        "..WWWWWWWWWWWW..",
    ]),
    # An open carton with goods showing at its mouth.
    Picture("resources/images/image4.xpm", "image4", [
        ('.', None), ('n', '#805020'), ('e', '#E8D0A0'), ('l', '#F4E6C8'),
        ('m', '#D0B480'), ('i', '#604010'), ('d', '#B09060'), ('b', '#0040E0'),
        ('B', '#4080FF'), ('y', '#E0B000'), ('Y', '#FFFF00'), ('r', '#C00000'),
        ('R', '#FF3030'),
    ], [
        "................",
        "................",
        "n..............n",
        "nn............nn",
        "nln....yy....nmn",
        ".nln..yYYy..nmn.",
        ".nlnbbyYYyrrnmn.",
        "..nnbBbyyrRRnn..",
        "..nibbbiirrrin..",
        "..nnnnnnnnnnnn..",
        "..neeeeeeeeeen..",
        "..neeeeeeeeeen..",
        "..needdddddeen..",
        "..neeeeeeeeeen..",
        "..neeeeeeeeeen..",
        "..nnnnnnnnnnnn..",
    ]),
    # Customise: a hammer crossed with a screwdriver.
    Picture("resources/images/image5.xpm", "image5", [
        ('.', None), ('y', '#FFD800'), ('Y', '#C09000'), ('D', '#000080'),
        ('d', '#3040C0'), ('c', '#A8D8FF'), ('C', '#4888D0'), ('g', '#505050'),
        ('s', '#8C8C8C'), ('k', '#202020'),
    ], [
        ".........D......",
        ".k......dDD.....",
        "..k.....ddDD....",
        "...s.....ddDD...",
        "....s.....ddDD..",
        ".....s...yYddDD.",
        "......s.yYY.ddDD",
        ".......yYY...dd.",
        "......yYY.g.....",
        ".....yYY.sgg....",
        "....yYY.gggCc...",
        "...yYY...gCccC..",
        "..yYY.....ccCCc.",
        ".yYY.......CCccC",
        "yYY.........ccCC",
        ".Y...........CC.",
    ]),
    # New mailbox: a case in front of a glow.
    Picture("resources/images/image6.xpm", "image6", [
        ('.', None), ('g', '#D0E8FF'), ('G', '#A8D0F8'), ('n', '#5A4A18'),
        ('N', '#3A2E08'), ('o', '#8C7A30'), ('m', '#6E5E20'), ('Y', '#FFF000'),
        ('y', '#D0A000'),
    ], [
        ".....GGGGGG.....",
        "...GGggggggGG...",
        "..GggggggggggG..",
        ".GggggnnnnggggG.",
        ".GgggnggggngggG.",
        "GnnnnnnnnnnnnnnG",
        "GnooooooooooooNG",
        "GnooooooooooooNG",
        "GnooooYYYYooooNG",
        "GnmmmmYnnYmmmmNG",
        "GnooooYYYYooooNG",
        ".nooooyyyyooooN.",
        ".nooooooooooooN.",
        ".nooooooooooooN.",
        ".NNNNNNNNNNNNNN.",
        ".....GGGGGG.....",
    ]),
    # About window: a block casting a shadow, in seven colours.
    Picture("resources/about.xpm", "about", [
        ('.', None), ('y', '#FFCC00'), ('o', '#FF9900'), ('t', '#FFFF00'),
        ('b', '#CC6600'), ('w', '#FFFFFF'), ('s', '#777777'), ('k', '#000000'),
    ], [
        "................................",
        "................................",
        "................................",
        "................................",
        "................................",
        "............kkkkkkkkkkkkk.......",
        "..........kkwwwwwwwwwkkok.......",
        "........kkwwtttttwwkkoook.......",
        "......kkwwtttttwwkkoooook.......",
        "....kkwwwwwwwwwkkoooooook.......",
        "...kkkkkkkkkkkkoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooook.......",
        "...kyyyyyyyyyykoooooooobk.......",
        "...kyyyyyyyyyykoooooobbbk.......",
        "...kyyyyyyyyyykoooobbbbok.......",
        "...kyyyyyyyyyykoobbbboook.......",
        "...kyyyyyyyyyykbbbbooookks......",
        "...kbbbbbbbbbbkbbooookkssss.....",
        "...kbbbbbbbbbbkooookkssssssss...",
        "...kyyyyyyyyyykookksssssssssss..",
        "...kyyyyyyyyyykkksssssssssssss..",
        "...kkkkkkkkkkkksssssssssssss....",
        ".....sssssssssssssssssssss......",
        "......ssssssssssssssssss........",
        "........ssssssssssssss..........",
        "................................",
    ]),
    # Wizard, large: a winged heart on a wedge.
    Picture("resources/wizard32.xpm", "wizard32", [
        ('.', None), ('k', '#000000'), ('e', '#808080'), ('d', '#606060'),
        ('W', '#FFFFFF'), ('g', '#B8B8B8'), ('n', '#000050'), ('2', '#0020C0'),
        ('3', '#0050E0'), ('4', '#0090F0'), ('5', '#00C8FF'), ('6', '#00FFFF'),
        ('L', '#D8B0F8'), ('l', '#B080E0'),
    ], [
        "................................",
        "................................",
        "dd............................dd",
        "dWdd........................ddWd",
        "dWWWdd....................ddWWWd",
        "dWWWWWdd..nnnn....nnnn..ddWWWWWd",
        ".dWWWWWWWn6666n..n5555nWWWWWWWd.",
        "dgggWWWWn66W555nn554444nWWWWgggd",
        "dWWWgggWn5W555554444444nWgggWWWd",
        ".dWWWWWgn55554444444443ngWWWWWd.",
        ".ddgggWWn55444444443333nWWgggdd.",
        "..dWWWgggn444444333333ngggWWWd..",
        "...ddWWWWgn4433333333ngWWWWdd...",
        ".....ddddddn33333322ndddddd.....",
        ".....ekkkkkkn333222nkkkkkke.....",
        "......ekkkkkkn2222nkkkkkke......",
        "......ekkkkkkkn22nkkkkkkke......",
        ".......ekkkkkkknnkkkkkkke.......",
        "........eLLLLLLLLLLLLLLe........",
        "........elllllllllllllle........",
        ".........ekkkkkkkkkkkke.........",
        "..........ekkkkkkkkkke..........",
        "..........ekkkkkkkkkke..........",
        "...........ekkkkkkkke...........",
        "............ekkkkkke............",
        "............ekkkkkke............",
        ".............ekkkke.............",
        ".............ekkkke.............",
        "..............ekke..............",
        "...............ee...............",
        "...............ee...............",
        "................................",
    ]),
    # Wizard, small: a heart badge.
    Picture("resources/wizard16.xpm", "wizard16", [
        ('.', None), ('k', '#000000'), ('g', '#808080'), ('W', '#D0D0D0'),
        ('b', '#0020A0'), ('B', '#0060F0'), ('c', '#00E0FF'),
    ], [
        "................",
        "................",
        "gg............gg",
        "gWg.kkk..kkk.gWg",
        ".gWkkkkkkkkkkWg.",
        ".gkkkkkkkkkkkkg.",
        "..kkkbbkkbbkkk..",
        "..kkbcBbbBBbkk..",
        "..kkbBBBBBBbkk..",
        "..kkbBBBBBBbkk..",
        "...kkbBBBBbkk...",
        "....kkbBBbkk....",
        ".....kkbbkk.....",
        "......kkkk......",
        ".......kk.......",
        "................",
    ]),
]

# The standard Windows 16-colour palette; the program icon uses only its greys, black and white.
ICO_PALETTE = [
    "#000000", "#800000", "#008000", "#808000", "#000080", "#800080", "#008080", "#C0C0C0",
    "#808080", "#FF0000", "#00FF00", "#FFFF00", "#0000FF", "#FF00FF", "#00FFFF", "#FFFFFF",
]


def check(pic):
    keys = dict(pic.palette)
    width = len(pic.rows[0])
    if any(len(row) != width for row in pic.rows):
        sys.exit(f"{pic.path}: rows differ in length")
    unknown = {ch for row in pic.rows for ch in row} - keys.keys()
    if unknown:
        sys.exit(f"{pic.path}: colour keys without a colour: {sorted(unknown)}")


def xpm_text(pic):
    used = [(k, c) for k, c in pic.palette if any(k in row for row in pic.rows)]
    lines = ["/* XPM */", f"static const char *{pic.name}[] = {{",
             f'"{len(pic.rows[0])} {len(pic.rows)} {len(used)} 1",']
    lines += [f'"{k} c {c or "None"}",' for k, c in used]
    lines += [f'"{row}",' for row in pic.rows]
    lines[-1] = lines[-1][:-1] + "};"
    return "\n".join(lines) + "\n"


def ico_bytes(pic):
    # One 32x32 image, 4 bits a pixel, with the AND mask marking the transparent pixels.
    colours = dict(pic.palette)
    size = len(pic.rows)
    index = {c.upper(): i for i, c in enumerate(ICO_PALETTE)}
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pic.rows):  # bitmaps are stored bottom row first
        nibbles = [index[colours[ch].upper()] if colours[ch] else 0 for ch in row]
        xor += bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, size, 2))
        bits = "".join("0" if colours[ch] else "1" for ch in row)
        mask += int(bits, 2).to_bytes(size // 8, "big")
    palette = b"".join(bytes([int(c[5:7], 16), int(c[3:5], 16), int(c[1:3], 16), 0])
                       for c in ICO_PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for pic in PICTURES:
        check(pic)
        with open(os.path.join(root, pic.path), "w", encoding="ascii") as out:
            out.write(xpm_text(pic))
    icon = PICTURES[0]
    with open(os.path.join(root, "resources/teskmail.ico"), "wb") as out:
        out.write(ico_bytes(icon))
    # -strip leaves out the time stamps, so running this again changes nothing.
    subprocess.run(["convert", os.path.join(root, icon.path), "-strip",
                    "PNG32:" + os.path.join(root, "resources/teskmail.png")], check=True)


if __name__ == "__main__":
    main()
