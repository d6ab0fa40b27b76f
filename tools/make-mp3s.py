#!/usr/bin/env python3
"""Writes a small music folder of MP3 files with ID3 tags, for demos and manual tests.

    make-mp3s.py OUT_DIR

The files hold a few silent MPEG frames, not real music, but their tags are real: ID3v2.3 (TPE1, TIT2, TALB,
TRCK, TYER), ID3v1, both, or none, so every path of the tag reader shows up in the catalog.
"""

import os
import struct
import sys

# (artist, album, year, [titles], tag style): "v2", "v1", "both" or "none".
ALBUMS = [
    ("The Paper Lanterns", "Harbour Lights", "1998",
     ["Low Tide", "Lighthouse Keeper", "Salt & Rope", "Northern Pier", "Last Ferry Home"], "v2"),
    ("Mira Castellano", "Quiet Rooms", "2003",
     ["Morning Coffee", "The Long Hallway", "Window Seat", "Attic Songs"], "both"),
    ("Hollow Oak Quartet", "Live at the Granary", "1987",
     ["Overture", "Barn Dance", "Hay Bales in the Rain", "Encore"], "v1"),
    ("DJ Nimbus", "Cloud Formations", "2011",
     ["Cumulus", "Stratus", "Cirrus (Extended Mix)", "Nimbostratus"], "both"),
    ("Various", "Field Recordings", "2015",
     ["Rain on Tin Roof", "Market Square", "Night Train"], "none"),
]

# One MPEG-1 Layer III frame header (128 kbit/s, 44.1 kHz, joint stereo) followed by silence; 417 bytes a frame.
FRAME = b"\xff\xfb\x90\x64" + bytes(413)


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def text_frame(frame_id, text):
    data = b"\x00" + text.encode("latin-1")  # encoding 0: ISO-8859-1
    return frame_id.encode("ascii") + struct.pack(">I", len(data)) + b"\x00\x00" + data


def id3v2(artist, title, album, track, year):
    frames = b"".join([
        text_frame("TPE1", artist),
        text_frame("TIT2", title),
        text_frame("TALB", album),
        text_frame("TRCK", str(track)),
        text_frame("TYER", year),
    ])
    padding = bytes(64)
    body = frames + padding
    return b"ID3\x03\x00\x00" + syncsafe(len(body)) + body


def id3v1(artist, title, album, track, year):
    def field(text, size):
        return text.encode("latin-1")[:size].ljust(size, b"\x00")
    # ID3v1.1: a zero byte before the track number in the last two bytes of the comment.
    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
            + field("", 28) + b"\x00" + bytes([track]) + b"\x0c")


def safe_name(text):
    return "".join("_" if c in '\\/:*?"<>|' else c for c in text)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    count = 0
    for album_index, (artist, album, year, titles, style) in enumerate(ALBUMS):
        folder = os.path.join(out, safe_name(artist), safe_name(f"{year} - {album}"))
        os.makedirs(folder, exist_ok=True)
        for track, title in enumerate(titles, start=1):
            audio = FRAME * (60 + 37 * ((album_index * 7 + track * 5) % 11))
            data = audio
            if style in ("v2", "both"):
                data = id3v2(artist, title, album, track, year) + data
            if style in ("v1", "both"):
                data = data + id3v1(artist, title, album, track, year)
            name = f"{track:02d} {safe_name(title)}.mp3"
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
            count += 1
        with open(os.path.join(folder, "cover.txt"), "w", encoding="ascii") as f:
            f.write(f"{artist}: {album} ({year})\n")
    print(f"{count} MP3 files in {out}")


if __name__ == "__main__":
    main()
