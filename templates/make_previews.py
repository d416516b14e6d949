#!/usr/bin/env python3
"""Draws the preview pictures of the shipped templates as 24-bit Windows bitmaps.

Run it from any folder; it writes single_product.bmp, product_range.bmp and no_pre.bmp beside
itself. Only the Python standard library is used, so the pictures can be made again anywhere.
"""

import os
import struct

WIDTH, HEIGHT = 285, 180

WHITE = (255, 255, 255)
PAPER = (250, 248, 243)
INK = (40, 44, 52)
GREY = (190, 190, 190)
LIGHT = (226, 226, 226)
BLUE = (36, 92, 160)
SKY = (168, 200, 232)
GREEN = (52, 140, 84)
ORANGE = (232, 128, 40)
RED = (190, 40, 40)

# A 5 x 7 font for the few capitals the pictures need.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    " ": ["00000"] * 7,
}


class Picture:
    def __init__(self, background):
        self.pixels = [[background] * WIDTH for _ in range(HEIGHT)]

    def box(self, x, y, w, h, colour):
        for row in range(max(0, y), min(HEIGHT, y + h)):
            for col in range(max(0, x), min(WIDTH, x + w)):
                self.pixels[row][col] = colour

    def frame(self, x, y, w, h, colour):
        self.box(x, y, w, 1, colour)
        self.box(x, y + h - 1, w, 1, colour)
        self.box(x, y, 1, h, colour)
        self.box(x + w - 1, y, 1, h, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=1):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i // steps
            y = y0 + (y1 - y0) * i // steps
            self.box(x, y, thickness, thickness, colour)

    def text(self, x, y, words, colour, scale=1):
        for letter in words:
            for row, bits in enumerate(FONT[letter]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.box(x + col * scale, y + row * scale, scale, scale, colour)
            x += 6 * scale

    def text_lines(self, x, y, width, count, colour=GREY):
        for i in range(count):
            self.box(x, y + i * 7, width - (i % 3) * 9, 3, colour)

    def save(self, path):
        row_bytes = (WIDTH * 3 + 3) // 4 * 4
        image_size = row_bytes * HEIGHT
        header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size, 2835, 2835,
                           0, 0)
        data = bytearray()
        for row in reversed(self.pixels):  # a bitmap stores the bottom row first
            for r, g, b in row:
                data += bytes((b, g, r))
            data += b"\0" * (row_bytes - WIDTH * 3)
        with open(path, "wb") as out:
            out.write(header + info + data)


def page_frame(picture, title):
    picture.box(0, 0, WIDTH, 22, BLUE)
    picture.text(8, 4, title, WHITE, 2)
    picture.frame(0, 0, WIDTH, HEIGHT, INK)


def product_picture(picture, x, y, w, h):
    picture.box(x, y, w, h, SKY)
    picture.frame(x, y, w, h, BLUE)
    # a mug: body, handle and steam
    picture.box(x + w // 2 - 16, y + h // 2 - 10, 26, 30, WHITE)
    picture.frame(x + w // 2 - 16, y + h // 2 - 10, 26, 30, INK)
    picture.frame(x + w // 2 + 10, y + h // 2 - 2, 8, 14, INK)
    picture.line(x + w // 2 - 8, y + h // 2 - 22, x + w // 2 - 4, y + h // 2 - 14, GREY, 2)
    picture.line(x + w // 2, y + h // 2 - 24, x + w // 2 + 4, y + h // 2 - 14, GREY, 2)


def single_product():
    picture = Picture(PAPER)
    page_frame(picture, "SINGLE")
    product_picture(picture, 10, 32, 110, 96)
    picture.box(132, 34, 120, 8, INK)  # the product's name
    picture.box(132, 50, 64, 8, RED)  # its price
    picture.frame(132, 66, 86, 12, GREY)  # an option list
    picture.box(206, 68, 10, 8, GREY)
    picture.frame(132, 84, 22, 12, GREY)  # quantity
    picture.box(160, 84, 52, 12, GREEN)  # the order button
    # the related products table
    picture.frame(132, 102, 142, 30, INK)
    for i in range(2):
        y = 105 + i * 13
        picture.frame(137, y + 2, 8, 8, INK)
        picture.box(152, y + 4, 80 - i * 20, 4, GREY)
        picture.box(244, y + 4, 24, 4, RED)
    picture.text_lines(10, 140, 264, 5)
    picture.save(os.path.join(HERE, "single_product.bmp"))


def product_range():
    picture = Picture(PAPER)
    page_frame(picture, "RANGE")
    product_picture(picture, 10, 32, 84, 74)
    picture.frame(104, 34, 120, 12, GREY)  # the item list
    picture.box(212, 36, 10, 8, GREY)
    picture.frame(104, 52, 90, 12, GREY)  # an option list
    picture.frame(104, 70, 22, 12, GREY)  # quantity
    picture.box(132, 70, 52, 12, GREEN)  # the order button
    picture.text_lines(104, 90, 170, 2)
    picture.text_lines(10, 112, 264, 2)
    # the related products table
    picture.frame(10, 128, 264, 44, INK)
    for i in range(3):
        y = 131 + i * 13
        picture.frame(16, y + 2, 8, 8, INK)
        picture.box(34, y + 4, 150 - i * 20, 4, GREY)
        picture.box(226, y + 4, 36, 4, RED)
    picture.save(os.path.join(HERE, "product_range.bmp"))


def no_preview():
    picture = Picture(LIGHT)
    picture.frame(0, 0, WIDTH, HEIGHT, GREY)
    picture.line(20, 20, WIDTH - 22, HEIGHT - 22, GREY, 3)
    picture.line(WIDTH - 22, 20, 20, HEIGHT - 22, GREY, 3)
    picture.box(42, 71, 200, 38, WHITE)
    picture.frame(42, 71, 200, 38, INK)
    picture.text(56, 76, "NO PREVIEW", INK, 3)
    picture.save(os.path.join(HERE, "no_pre.bmp"))


HERE = os.path.dirname(os.path.abspath(__file__))

if __name__ == "__main__":
    single_product()
    product_range()
    no_preview()
