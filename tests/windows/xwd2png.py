#!/usr/bin/python3
"""Saves the screen of an Xvfb started with -fbdir (an XWD file, 24-bit colour in 32-bit pixels)
as a PNG. Usage: xwd2png.py Xvfb_screen0 out.png"""
import struct
import sys

from PIL import Image

data = open(sys.argv[1], "rb").read()
fields = struct.unpack(">25I", data[:100])
header_size, width, height = fields[0], fields[4], fields[5]
byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
if bits_per_pixel != 32:
    raise SystemExit(f"{bits_per_pixel} bits a pixel: start Xvfb with a 24-bit screen")
start = header_size + 12 * ncolors
mode = "BGRX" if byte_order == 0 else "XRGB"
image = Image.frombuffer("RGB", (width, height), data[start:start + bytes_per_line * height], "raw",
                         mode, bytes_per_line, 1)
image.save(sys.argv[2])
