#!/usr/bin/env python3
"""Draws plain stand-in editor images into img/: every image at its final size and frame
count, recognisable at a glance (labels, frame numbers, knob pointers), until the real
artwork replaces them. Deterministic: the same bytes on every run.

Usage: art/placeholders.py [output folder, default: img/ beside this folder]
"""

import math
import os
import struct
import sys
import zlib

# --- the images: id, file name, width, height, frames ----------------------------------

MODEL_NAMES = ["Clean 1", "Clean 2", "Clean 3", "Clean 4", "Piezo Acoustic", "Tube Creamer",
               "Fuzzz", "Metal Charter", "Metal Machine", "Metal Style", "JGM900", "Dirty Box",
               "Darktorsion", "Bat", "Poltergeist", "Noise Soldier"]
PEDAL_FILES = ["clean1", "clean2", "clean3", "clean4", "piezoacoustic", "tubecreamer", "fuzzz",
               "metalcharter", "metalmachine", "metalstyle", "jgm900", "dirtybox",
               "darktorsion", "bat", "poltergeist", "noisesoldier"]

IMAGES = [(100, "background", 630, 440, 1)]
IMAGES += [(101 + k, "dst_" + PEDAL_FILES[k], 448, 424, 1) for k in range(16)]
IMAGES += [
    (117, "dst_knob_01", 50, 3150, 63), (118, "dst_knob_02", 50, 3150, 63),
    (119, "dst_knob_05", 20, 2520, 63), (120, "dst_knob_08", 30, 1890, 63),
    (121, "dst_knob_10", 36, 2268, 63), (122, "dst_knob_11", 50, 3150, 63),
    (123, "dst_knob_12", 50, 3150, 63), (124, "dst_knob_13", 50, 3150, 63),
    (125, "dst_knob_15", 42, 2646, 63), (126, "dst_knob_16", 50, 3150, 63),
    (127, "voltrex_knob_001", 39, 2120, 53), (128, "voltrex_knob_loudness", 30, 1950, 65),
    (129, "voltrex_button_01", 31, 68, 2),
    (130, "dst_switch_00", 40, 80, 2), (131, "dst_switch_05", 97, 155, 2),
    (132, "dst_switch_07", 90, 218, 2), (133, "dst_switch_09", 156, 296, 2),
    (134, "dst_switch_11", 137, 124, 2), (135, "dst_switch_12", 141, 148, 2),
    (136, "dst_pgswitch1", 30, 60, 2), (137, "dst_pgswitch2", 30, 90, 3),
    (138, "voltrex_led_01", 14, 28, 2),
    (139, "voltrex_param_01", 141, 620, 31), (140, "voltrex_param_02", 100, 620, 31),
    (141, "voltrex_about", 319, 225, 1), (142, "bg01", 430, 327, 1),
    (143, "voltrex_fader", 10, 25, 1), (144, "tuner_bg", 138, 74, 1),
    (145, "tuner_meter", 67, 1520, 40), (146, "tuner_btn", 12, 24, 2),
    (147, "tuner_notes", 60, 4320, 72), (148, "fopen", 81, 16, 1),
    (149, "freqres", 346, 220, 1),
]

NAME_STRIP = ["", "NOISE GATE-On/Off", "NOISE GATE-Threshold", "NOISE GATE-Release",
              "PREAMP/DST-On/Off", "PREAMP/DST-Level", "PREAMP/DST-Drive", "AMPLIFIER COLOR",
              "AMPLIFIER PRESENCE", "PREAMP/DST-Low", "PREAMP/DST-Mid", "PREAMP/DST-High",
              "MAIN BASS", "MAIN TREBLE", "MAIN VOLUME", "LOUDNESS", "PREAMP/DST-LowCut",
              "PREAMP/DST-Distortion", "PREAMP/DST-Attack", "PREAMP/DST-Punch",
              "PREAMP/DST-Edge", "PREAMP/DST-Filter", "PREAMP/DST-Tone", "PREAMP/DST-Sub",
              "IR-On/Off", "IR-Dry Level", "IR-Wet Level", "", "", "", ""]

PITCH_CLASSES = ["A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"]

# Knob pointers sweep from 7 o'clock to 5 o'clock (degrees clockwise from straight up).
KNOB_MIN_DEG = -150.0
KNOB_MAX_DEG = 150.0

# --- a 5 x 7 pixel font: each glyph is seven rows of five bits, high bit on the left ----

FONT = {
    "A": (14, 17, 17, 31, 17, 17, 17), "B": (30, 17, 17, 30, 17, 17, 30),
    "C": (14, 17, 16, 16, 16, 17, 14), "D": (30, 17, 17, 17, 17, 17, 30),
    "E": (31, 16, 16, 30, 16, 16, 31), "F": (31, 16, 16, 30, 16, 16, 16),
    "G": (14, 17, 16, 23, 17, 17, 15), "H": (17, 17, 17, 31, 17, 17, 17),
    "I": (14, 4, 4, 4, 4, 4, 14), "J": (7, 2, 2, 2, 2, 18, 12),
    "K": (17, 18, 20, 24, 20, 18, 17), "L": (16, 16, 16, 16, 16, 16, 31),
    "M": (17, 27, 21, 21, 17, 17, 17), "N": (17, 17, 25, 21, 19, 17, 17),
    "O": (14, 17, 17, 17, 17, 17, 14), "P": (30, 17, 17, 30, 16, 16, 16),
    "Q": (14, 17, 17, 17, 21, 18, 13), "R": (30, 17, 17, 30, 20, 18, 17),
    "S": (15, 16, 16, 14, 1, 1, 30), "T": (31, 4, 4, 4, 4, 4, 4),
    "U": (17, 17, 17, 17, 17, 17, 14), "V": (17, 17, 17, 17, 17, 10, 4),
    "W": (17, 17, 17, 21, 21, 21, 10), "X": (17, 17, 10, 4, 10, 17, 17),
    "Y": (17, 17, 10, 4, 4, 4, 4), "Z": (31, 1, 2, 4, 8, 16, 31),
    "0": (14, 17, 19, 21, 25, 17, 14), "1": (4, 12, 4, 4, 4, 4, 14),
    "2": (14, 17, 1, 2, 4, 8, 31), "3": (31, 2, 4, 2, 1, 17, 14),
    "4": (2, 6, 10, 18, 31, 2, 2), "5": (31, 16, 30, 1, 1, 17, 14),
    "6": (6, 8, 16, 30, 17, 17, 14), "7": (31, 1, 2, 4, 8, 8, 8),
    "8": (14, 17, 17, 14, 17, 17, 14), "9": (14, 17, 17, 15, 1, 2, 12),
    "-": (0, 0, 0, 31, 0, 0, 0), "/": (1, 1, 2, 4, 8, 16, 16),
    ".": (0, 0, 0, 0, 0, 12, 12), ":": (0, 12, 12, 0, 12, 12, 0),
    "#": (10, 10, 31, 10, 31, 10, 10), "+": (0, 4, 4, 31, 4, 4, 0),
    " ": (0, 0, 0, 0, 0, 0, 0),
}
GLYPH_ADVANCE = 6


def frame_top(height, frames, f):
    """First row of frame f (0-based): frames of an uneven strip start at rounded rows."""
    return (2 * height * f + frames) // (2 * frames)


def text_width(text, scale=1):
    return (len(text) * GLYPH_ADVANCE - 1) * scale


class Canvas:
    """Straight-alpha RGBA pixels with the few drawing operations the placeholders need."""

    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = bytearray(bytes(colour) * (width * height))

    def blend(self, x, y, colour, coverage=1.0):
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0.0:
            return
        a = colour[3] / 255.0 * min(coverage, 1.0)
        i = (y * self.width + x) * 4
        p = self.pixels
        dst_a = p[i + 3] / 255.0
        out_a = a + dst_a * (1.0 - a)
        if out_a <= 0.0:
            return
        for c in range(3):
            mixed = (colour[c] * a + p[i + c] * dst_a * (1.0 - a)) / out_a
            p[i + c] = int(mixed + 0.5)
        p[i + 3] = int(out_a * 255.0 + 0.5)

    def fill(self, x0, y0, x1, y1, colour):
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.width, x1), min(self.height, y1)
        if x1 <= x0 or y1 <= y0:
            return
        if colour[3] == 255:
            row = bytes(colour) * (x1 - x0)
            for y in range(y0, y1):
                i = (y * self.width + x0) * 4
                self.pixels[i:i + len(row)] = row
            return
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.blend(x, y, colour)

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            colour = tuple(int(top[c] + (bottom[c] - top[c]) * t + 0.5) for c in range(4))
            self.fill(x0, y, x1, y + 1, colour)

    def frame(self, x0, y0, x1, y1, colour, thickness=1):
        self.fill(x0, y0, x1, y0 + thickness, colour)
        self.fill(x0, y1 - thickness, x1, y1, colour)
        self.fill(x0, y0, x0 + thickness, y1, colour)
        self.fill(x1 - thickness, y0, x1, y1, colour)

    def disc(self, cx, cy, radius, colour):
        """An antialiased filled circle centred on (cx, cy) in pixel-centre coordinates."""
        for y in range(int(cy - radius - 1), int(cy + radius + 2)):
            for x in range(int(cx - radius - 1), int(cx + radius + 2)):
                distance = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.blend(x, y, colour, radius - distance + 0.5)

    def segment(self, x0, y0, x1, y1, width, colour):
        """An antialiased line of the given width with round ends."""
        half = width / 2.0
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9
        for y in range(int(min(y0, y1) - half - 1), int(max(y0, y1) + half + 2)):
            for x in range(int(min(x0, x1) - half - 1), int(max(x0, x1) + half + 2)):
                px, py = x + 0.5, y + 0.5
                t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
                distance = math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))
                self.blend(x, y, colour, half - distance + 0.5)

    def text(self, x, y, text, colour, scale=1):
        for n, ch in enumerate(text.upper()):
            rows = FONT.get(ch, FONT[" "])
            for r, bits in enumerate(rows):
                for c in range(5):
                    if bits & (16 >> c):
                        gx = x + (n * GLYPH_ADVANCE + c) * scale
                        self.fill(gx, y + r * scale, gx + scale, y + (r + 1) * scale, colour)

    def centred_text(self, cx, y, text, colour, scale=1):
        self.text(int(cx - text_width(text, scale) / 2), y, text, colour, scale)

    def paste(self, other, x, y):
        for row in range(other.height):
            i = row * other.width * 4
            j = ((y + row) * self.width + x) * 4
            self.pixels[j:j + other.width * 4] = other.pixels[i:i + other.width * 4]

    def png_bytes(self):
        raw = b"".join(b"\x00" + bytes(self.pixels[y * self.width * 4:(y + 1) * self.width * 4])
                       for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# --- colours ------------------------------------------------------------------------------

BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
PANEL = (46, 46, 52, 255)
PANEL_LIGHT = (70, 70, 78, 255)
LABEL = (225, 225, 215, 255)
LCD = (104, 140, 96, 255)
LCD_DARK = (30, 50, 30, 255)
GREY_AREA = (128, 128, 128, 255)
RED = (230, 30, 20, 255)
DARK_RED = (80, 20, 16, 255)


def hue_colour(hue, saturation=0.65, value=0.8):
    h = (hue % 1.0) * 6.0
    i = int(h)
    f = h - i
    p, q, t = value * (1 - saturation), value * (1 - saturation * f), value * (1 - saturation * (1 - f))
    r, g, b = [(value, t, p), (q, value, p), (p, value, t), (p, q, value), (t, p, value),
               (value, p, q)][i % 6]
    return (int(r * 255 + 0.5), int(g * 255 + 0.5), int(b * 255 + 0.5), 255)


# --- the pictures -------------------------------------------------------------------------

def background(width, height):
    c = Canvas(width, height, PANEL)
    c.vertical_gradient(0, 0, width, 150, PANEL_LIGHT, PANEL)
    c.fill(200, 155, 624, 430, GREY_AREA)
    c.text(10, 8, "VOLTREX", LABEL, 3)
    # Top row: preset field, stepping buttons, tuner and the gate.
    c.fill(212, 58, 344, 78, LCD_DARK)
    for label, x, w in [("PREV", 384, 31), ("NEXT", 417, 31), ("TUNER", 450, 31),
                        ("ON/OFF", 488, 31), ("THRESHOLD", 523, 39), ("RELEASE", 564, 39)]:
        c.centred_text(x + w / 2, 34 if x == 523 else 44, label, LABEL)
    # Second row: jacks and the tone knobs.
    for label, x in [("RETURN", 230), ("SEND TO STOMP", 290)]:
        c.disc(x, 120, 9, BLACK)
        c.disc(x, 120, 4, (150, 150, 150, 255))
        c.centred_text(x, 135, label, LABEL)
    for label, x, w in [("COLOR", 325, 39), ("PRESENCE", 373, 39), ("LOUDNESS", 419, 30),
                        ("BASS", 459, 39), ("TREBLE", 504, 39), ("VOLUME", 550, 39)]:
        c.centred_text(x + w / 2, 90, label, LABEL)
    c.centred_text(434, 136, "FLAT", LABEL)
    # Left: the display and the three boxes.
    c.fill(30, 55, 186, 142, LCD)
    c.frame(30, 55, 186, 142, BLACK)
    c.text(48, 67, "B", LCD_DARK)
    c.text(48, 81, "P", LCD_DARK)
    for title, y0, y1 in [("PREAMP/DST", 168, 222), ("AMP/CABINET", 224, 280),
                          ("IR LOADER", 296, 408)]:
        c.frame(28, y0, 198, y1, LABEL)
        c.text(34, y0 + 4, title, LABEL)
    for y in (192, 248):
        c.fill(34, y, 118, y + 20, LCD_DARK)
        c.centred_text(141, y - 12, "PREV", LABEL)
        c.centred_text(176, y - 12, "NEXT", LABEL)
    c.fill(34, 320, 184, 340, LCD_DARK)
    for label, x, y in [("ON/OFF", 48, 389), ("DISPLAY", 84, 398), ("PREV", 141, 389),
                        ("NEXT", 176, 389)]:
        c.centred_text(x, y, label, LABEL)
    return c


def pedal(width, height, k):
    c = Canvas(width, height)
    body = hue_colour(k / 16.0)
    shade = tuple(int(v * 0.6) for v in body[:3]) + (255,)
    c.vertical_gradient(28, 150, 254, 422, body, shade)
    c.frame(28, 150, 254, 422, BLACK, 2)
    name = MODEL_NAMES[k]
    scale = 2 if text_width(name, 2) <= 210 else 1
    c.centred_text(141, 156, name, WHITE, scale)
    return c


def knob_strip(width, height, frames, face, pointer):
    c = Canvas(width, height)
    frame_height = height // frames
    radius = min(width, frame_height) / 2.0 - 1.0
    for f in range(frames):
        cx, cy = width / 2.0, frame_top(height, frames, f) + frame_height / 2.0
        c.disc(cx, cy, radius, BLACK)
        c.disc(cx, cy, radius - 1.0, face)
        angle = math.radians(KNOB_MIN_DEG + (KNOB_MAX_DEG - KNOB_MIN_DEG) * f / (frames - 1))
        dx, dy = math.sin(angle), -math.cos(angle)
        c.segment(cx + dx * radius * 0.25, cy + dy * radius * 0.25,
                  cx + dx * (radius - 2.0), cy + dy * (radius - 2.0),
                  max(1.5, radius / 6.0), pointer)
    return c


def two_state(width, height, frames, off, on, round_shape=False):
    """Frame 1 off or up, the last frame on or pressed; frames in between step across."""
    c = Canvas(width, height)
    frame_height = height // frames
    for f in range(frames):
        t = f / max(1, frames - 1)
        colour = tuple(int(off[i] + (on[i] - off[i]) * t + 0.5) for i in range(4))
        y0 = frame_top(height, frames, f)
        if round_shape:
            r = min(width, frame_height) / 2.0 - 0.5
            c.disc(width / 2.0, y0 + frame_height / 2.0, r, BLACK)
            c.disc(width / 2.0, y0 + frame_height / 2.0, r - 1.5, colour)
        else:
            c.fill(1, y0 + 1, width - 1, y0 + frame_height - 1, colour)
            c.frame(0, y0, width, y0 + frame_height, BLACK)
    return c


def toggle(width, height, frames):
    """A lever that points up in frame 1 and down in the last frame."""
    c = Canvas(width, height)
    frame_height = height // frames
    for f in range(frames):
        cx, cy = width / 2.0, frame_top(height, frames, f) + frame_height / 2.0
        c.disc(cx, cy, width / 2.0 - 2.0, (90, 90, 90, 255))
        lever = (frame_height / 2.0 - 3.0) * (1.0 - 2.0 * f / max(1, frames - 1))
        c.segment(cx, cy, cx, cy - lever, 4.0, (230, 230, 230, 255))
    return c


def name_strip(width, height, frames):
    c = Canvas(width, height, LCD)
    frame_height = height // frames
    for f in range(frames):
        if NAME_STRIP[f]:
            c.text(2, frame_top(height, frames, f) + 6, NAME_STRIP[f], LCD_DARK)
    return c


def value_bar(width, height, frames):
    c = Canvas(width, height, LCD)
    frame_height = height // frames
    for f in range(frames):
        y0 = frame_top(height, frames, f)
        c.frame(0, y0 + 4, width, y0 + frame_height - 4, LCD_DARK)
        c.fill(2, y0 + 6, 2 + round((width - 4) * f / (frames - 1)), y0 + frame_height - 6,
               LCD_DARK)
    return c


def about_box(width, height):
    c = Canvas(width, height, (20, 20, 26, 255))
    c.frame(0, 0, width, height, LABEL, 2)
    c.centred_text(width / 2, 40, "VOLTREX", LABEL, 4)
    c.centred_text(width / 2, 100, "VERSION 2.5.0", LABEL, 2)
    c.centred_text(width / 2, 140, "WAVESMITHER", LABEL, 2)
    return c


def browser(width, height):
    c = Canvas(width, height, (34, 34, 40, 255))
    c.frame(0, 0, width, height, LABEL, 2)
    c.text(30, 8, "PRESETS", LABEL)
    c.text(240, 8, "BANKS", LABEL)
    c.fill(30, 20, 212, 300, (12, 12, 14, 255))
    c.fill(240, 20, 382, 300, (12, 12, 14, 255))
    for x in (220, 395):
        c.fill(x + 3, 21, x + 7, 298, PANEL_LIGHT)
    return c


def tuner_meter(width, height, frames):
    c = Canvas(width, height, LCD)
    frame_height = height // frames
    for f in range(frames):
        y0 = frame_top(height, frames, f)
        c.fill(width // 2, y0 + 2, width // 2 + 1, y0 + 8, LCD_DARK)
        x = 4 + (width - 8) * f / (frames - 1)
        c.segment(width / 2.0, y0 + frame_height - 2.0, x, y0 + 6.0, 2.0,
                  RED if f in (19, 20) else LCD_DARK)
    return c


def tuner_notes(width, height, frames):
    c = Canvas(width, height, LCD)
    frame_height = height // frames
    for f in range(frames):
        note = PITCH_CLASSES[f % 12] + str((f + 9) // 12)
        c.centred_text(width / 2, frame_top(height, frames, f) + 16, note, LCD_DARK, 4)
    return c


def response_panel(width, height):
    c = Canvas(width, height, (16, 18, 20, 255))
    c.frame(0, 0, width, height, LABEL)
    left, top, plot_w, plot_h = 14, 13, 300, 140
    grid = (60, 66, 72, 255)
    for decade in (20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000):
        x = left + round(plot_w * math.log2(decade / 20.0) / 10.0)
        c.fill(x, top, x + 1, top + plot_h, grid)
    for db in range(40, -81, -20):
        y = top + round((40 - db) * plot_h / 120.0)
        c.fill(left, y, left + plot_w, y + 1, grid)
        c.text(left + plot_w + 4, y - 3, ("+" if db > 0 else "") + str(db), LABEL)
    for f, label in ((100, "100"), (1000, "1K"), (10000, "10K")):
        x = left + round(plot_w * math.log2(f / 20.0) / 10.0)
        c.centred_text(x, top + plot_h + 4, label, LABEL)
    c.frame(left, top, left + plot_w, top + plot_h, LABEL)
    return c


def draw(image_id, width, height, frames):
    if image_id == 100:
        return background(width, height)
    if 101 <= image_id <= 116:
        return pedal(width, height, image_id - 101)
    if 117 <= image_id <= 126:
        return knob_strip(width, height, frames, (40, 40, 44, 255), WHITE)
    if image_id in (127, 128):
        return knob_strip(width, height, frames, (200, 200, 205, 255), BLACK)
    if image_id == 129:
        return two_state(width, height, frames, (150, 150, 155, 255), (90, 90, 95, 255))
    if 130 <= image_id <= 135:
        return two_state(width, height, frames, (200, 200, 205, 255), (120, 120, 125, 255), True)
    if image_id in (136, 137):
        return toggle(width, height, frames)
    if image_id == 138:
        return two_state(width, height, frames, DARK_RED, RED, True)
    if image_id == 139:
        return name_strip(width, height, frames)
    if image_id == 140:
        return value_bar(width, height, frames)
    if image_id == 141:
        return about_box(width, height)
    if image_id == 142:
        return browser(width, height)
    if image_id == 143:
        return two_state(width, height, 1, (190, 190, 195, 255), (190, 190, 195, 255))
    if image_id == 144:
        c = Canvas(width, height, LCD)
        c.frame(0, 0, width, height, LCD_DARK, 2)
        return c
    if image_id == 145:
        return tuner_meter(width, height, frames)
    if image_id == 146:
        return two_state(width, height, frames, LCD_DARK, RED, True)
    if image_id == 147:
        return tuner_notes(width, height, frames)
    if image_id == 148:
        c = Canvas(width, height, (220, 220, 210, 255))
        c.frame(0, 0, width, height, BLACK)
        c.centred_text(width / 2, 4, "OPEN", BLACK)
        return c
    return response_panel(width, height)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "img")
    os.makedirs(out, exist_ok=True)
    for image_id, name, width, height, frames in IMAGES:
        canvas = draw(image_id, width, height, frames)
        assert (canvas.width, canvas.height) == (width, height), name
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(canvas.png_bytes())


if __name__ == "__main__":
    main()
