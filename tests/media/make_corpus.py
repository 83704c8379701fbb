#!/usr/bin/env python3
"""Writes the small WAV and picture files the media tests read (wav/ and pictures/).

The files are committed; run this again only to change them. The pictures need
ImageMagick's `convert`.
"""
import os
import random
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
WAV = os.path.join(HERE, "wav")
PICTURES = os.path.join(HERE, "pictures")

PCM, FLOAT, EXTENSIBLE = 0x0001, 0x0003, 0xFFFE
GUID_TAIL = bytes([0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                   0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71])


def pattern(count):
    """Sample bytes the tests can recompute: byte k is (7k + 1) mod 256."""
    return bytes((7 * k + 1) & 0xFF for k in range(count))


def chunk(tag, payload, size=None):
    size = len(payload) if size is None else size
    pad = b"\0" if len(payload) % 2 else b""
    return tag + struct.pack("<I", size) + payload + pad


def fmt(tag, channels, rate, bits, align=None, extra=b"", byte_rate=None):
    align = channels * (bits // 8) if align is None else align
    byte_rate = rate * align if byte_rate is None else byte_rate
    return struct.pack("<HHIIHH", tag, channels, rate, byte_rate, align, bits) + extra


def extensible(sub_tag, channels, rate, bits, valid_bits=None, tail=GUID_TAIL):
    valid_bits = bits if valid_bits is None else valid_bits
    extra = struct.pack("<HHI", 22, valid_bits, 0) + struct.pack("<H", sub_tag) + tail
    return fmt(EXTENSIBLE, channels, rate, bits, extra=extra)


def riff(*chunks, form=b"WAVE"):
    body = form + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def wave_files():
    frames = 10
    files = {
        "pcm8_mono.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 8000, 8)),
                              chunk(b"data", pattern(frames))),
        "pcm8_stereo.wav": riff(chunk(b"fmt ", fmt(PCM, 2, 11025, 8)),
                                chunk(b"data", pattern(frames * 2))),
        "pcm16_mono.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 22050, 16)),
                               chunk(b"data", pattern(frames * 2))),
        "pcm16_stereo.wav": riff(chunk(b"fmt ", fmt(PCM, 2, 44100, 16)),
                                 chunk(b"data", pattern(frames * 4))),
        "pcm24_stereo.wav": riff(chunk(b"fmt ", fmt(PCM, 2, 48000, 24)),
                                 chunk(b"data", pattern(frames * 6))),
        "pcm32_mono.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 96000, 32)),
                               chunk(b"data", pattern(frames * 4))),
        "float32_stereo.wav": riff(chunk(b"fmt ", fmt(FLOAT, 2, 44100, 32)),
                                   chunk(b"data", pattern(frames * 8))),
        # WAVEFORMATEX with cbSize 0: an 18-byte format chunk.
        "pcm16_fmt18.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16, extra=b"\0\0")),
                                chunk(b"data", pattern(frames * 2))),
        "extensible_pcm16.wav": riff(chunk(b"fmt ", extensible(PCM, 2, 44100, 16)),
                                     chunk(b"data", pattern(frames * 4))),
        "extensible_pcm24_20bit.wav": riff(
            chunk(b"fmt ", extensible(PCM, 1, 48000, 24, valid_bits=20)),
            chunk(b"data", pattern(frames * 3))),
        "extensible_float.wav": riff(chunk(b"fmt ", extensible(FLOAT, 1, 48000, 32)),
                                     chunk(b"data", pattern(frames * 4))),
        "extensible_unknown_guid.wav": riff(
            chunk(b"fmt ", extensible(PCM, 1, 44100, 16, tail=bytes(14))),
            chunk(b"data", pattern(frames * 2))),
        "extensible_valid_bits_too_many.wav": riff(
            chunk(b"fmt ", extensible(PCM, 1, 44100, 16, valid_bits=24)),
            chunk(b"data", pattern(frames * 2))),
        "list_before_data.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 22050, 16)),
                                     chunk(b"LIST", b"INFOISFT\x06\0\0\0Sox!\0\0"),
                                     chunk(b"data", pattern(frames * 2))),
        "first_chunk_not_fmt.wav": riff(chunk(b"LIST", b"INFO"),
                                        chunk(b"fmt ", fmt(PCM, 1, 22050, 16)),
                                        chunk(b"data", pattern(frames * 2))),
        "odd_chunk_padded.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 22050, 16)),
                                     chunk(b"junk", b"abc"),
                                     chunk(b"data", pattern(frames * 2))),
        # 10.5 frames present of the 1000 the header claims: the whole 10 play.
        "truncated_data.wav": riff(chunk(b"fmt ", fmt(PCM, 2, 44100, 16)),
                                   chunk(b"data", pattern(42), size=4000)),
        "data_size_ffffffff.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)),
                                       chunk(b"data", pattern(frames * 2), size=0xFFFFFFFF)),
        "chunk_size_huge.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)),
                                    chunk(b"LIST", b"INFO", size=0xFFFFFFF0),
                                    chunk(b"data", pattern(frames * 2))),
        "data_empty.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)), chunk(b"data", b"")),
        "no_data_chunk.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)),
                                  chunk(b"LIST", b"INFO")),
        "zero_channels.wav": riff(chunk(b"fmt ", fmt(PCM, 0, 44100, 16, align=2)),
                                  chunk(b"data", pattern(frames * 2))),
        "nine_channels.wav": riff(chunk(b"fmt ", fmt(PCM, 9, 44100, 16)),
                                  chunk(b"data", pattern(frames * 18))),
        "zero_rate.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 0, 16)),
                              chunk(b"data", pattern(frames * 2))),
        "rate_too_low.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 999, 16)),
                                 chunk(b"data", pattern(frames * 2))),
        "rate_too_high.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 384001, 16)),
                                  chunk(b"data", pattern(frames * 2))),
        # The byte rate is advisory only; a wrong one does not stop the sound.
        "wrong_byte_rate.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 22050, 16, byte_rate=12345)),
                                    chunk(b"data", pattern(frames * 2))),
        "wrong_block_align.wav": riff(chunk(b"fmt ", fmt(PCM, 2, 44100, 16, align=2)),
                                      chunk(b"data", pattern(frames * 4))),
        "pcm12.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 12, align=2)),
                          chunk(b"data", pattern(frames * 2))),
        "float64.wav": riff(chunk(b"fmt ", fmt(FLOAT, 1, 44100, 64)),
                            chunk(b"data", pattern(frames * 8))),
        "adpcm.wav": riff(chunk(b"fmt ", fmt(0x0002, 1, 44100, 4, align=256)),
                          chunk(b"data", pattern(512))),
        "short_fmt.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)[:14]),
                              chunk(b"data", pattern(frames * 2))),
        "fmt_past_end.wav": b"RIFF\x24\0\0\0WAVEfmt \x10\0\0\0" + fmt(PCM, 1, 44100, 16)[:8],
        "not_riff.wav": b"RIFX" + riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)),
                                       chunk(b"data", pattern(frames * 2)))[4:],
        "not_wave.wav": riff(chunk(b"fmt ", fmt(PCM, 1, 44100, 16)),
                             chunk(b"data", pattern(frames * 2)), form=b"AVI "),
        "empty.wav": b"",
    }
    for name, data in files.items():
        write(WAV, name, data)


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def patch_jpeg_size(data, width, height):
    """Rewrites the frame header's height and width."""
    at = 2
    while True:
        marker = data[at + 1]
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            return data[:at + 5] + struct.pack(">HH", height, width) + data[at + 9:]
        at += 2 + length


def picture_files():
    p = lambda name: os.path.join(PICTURES, name)
    strip = ["-strip", "-define", "jpeg:optimize-coding=false"]
    convert("-size", "48x20", "xc:#3366cc", "-quality", "95", *strip, p("valid.jpg"))
    convert("-size", "30x10", "xc:gray(128)", "-type", "Grayscale", *strip, p("grayscale.jpg"))
    convert("-size", "40x30", "gradient:red-blue", "-interlace", "Plane", *strip,
            p("progressive.jpg"))
    convert("-size", "16x8", "xc:red", "-colorspace", "CMYK", *strip, p("cmyk.jpg"))
    convert("-size", "8192x8", "xc:#808080", *strip, p("wide_8192.jpg"))
    convert("-size", "8x8193", "xc:#808080", *strip, p("tall_8193.jpg"))
    convert("-size", "64x64", "gradient:yellow-green", *strip, p("gradient.jpg"))
    convert("-size", "20x12", "xc:#00ff00", "BMP3:" + p("picture.bmp"))
    convert("-size", "16x16", "xc:#0000ff", p("picture.ico"))
    convert("-size", "256x256", "xc:#ff00ff", p("png_icon.ico"))

    with open(p("gradient.jpg"), "rb") as f:
        gradient = f.read()
    write(PICTURES, "truncated.jpg", gradient[:len(gradient) // 2])
    write(PICTURES, "huge_header.jpg", patch_jpeg_size(gradient, 9000, 9000))
    write(PICTURES, "too_many_pixels.jpg", patch_jpeg_size(gradient, 4001, 4000))
    # The largest a frame header can claim beyond the limits in both directions: a decoder
    # that is handed it works for minutes.
    write(PICTURES, "huge_30000.jpg", patch_jpeg_size(gradient, 30000, 30000))
    rng = random.Random(20240501)
    write(PICTURES, "garbage.jpg", bytes(rng.randrange(256) for _ in range(600)))
    write(PICTURES, "garbage_after_soi.jpg",
          b"\xff\xd8" + bytes(rng.randrange(256) for _ in range(600)))
    write(PICTURES, "empty.jpg", b"")

    with open(p("picture.bmp"), "rb") as f:
        bmp = f.read()
    write(PICTURES, "bmp_huge_header.bmp", bmp[:18] + struct.pack("<ii", 100000, 100000) + bmp[26:])
    # "BM" decides: a JPEG behind those two bytes is not tried as a JPEG.
    with open(p("valid.jpg"), "rb") as f:
        write(PICTURES, "bm_then_jpeg.jpg", b"BM" + f.read())
    # An icon whose only entry is a PNG claiming 20000 x 20000 pixels.
    png = (b"\x89PNG\r\n\x1a\n" + struct.pack(">I", 13) + b"IHDR" +
           struct.pack(">IIBBBBB", 20000, 20000, 8, 2, 0, 0, 0) + b"\0\0\0\0")
    icon = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32,
                                                       len(png), 22) + png
    write(PICTURES, "icon_huge_png.ico", icon)


if __name__ == "__main__":
    os.makedirs(WAV, exist_ok=True)
    os.makedirs(PICTURES, exist_ok=True)
    wave_files()
    picture_files()
