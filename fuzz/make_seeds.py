#!/usr/bin/env python3
"""Writes the small seed archives of the fuzz targets into fuzz/seeds (or the folder given):
one of every kind the archiver reads. Python's zipfile writes the plain ones; Info-ZIP zip
writes classic encryption, 7z the AES ones. Run it again after changing it
and commit the files it writes."""
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

TEXT = b"<wpt lat=\"52.1\" lon=\"13.4\"><groundspeak:date>2026-05-01</groundspeak:date></wpt>\n" * 6


def plain(path, method, **kwargs):
    with zipfile.ZipFile(path, "w", method, **kwargs) as z:
        z.writestr("finds.gpx", TEXT)
        z.writestr("dir/", b"")
        z.writestr("dir/note.txt", b"note")


class Unseekable(io.RawIOBase):
    """A sink zipfile cannot seek back in: it writes data descriptors (bit 3)."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def streamed(path):
    sink = Unseekable()
    with zipfile.ZipFile(sink, "w", zipfile.ZIP_DEFLATED) as z:
        with z.open("finds.gpx", "w") as f:
            f.write(TEXT)
        with z.open("b.txt", "w") as f:
            f.write(b"second")
    return bytes(sink.data)


def zip64(path):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        with z.open("finds.gpx", "w", force_zip64=True) as f:
            f.write(TEXT)


def split_set():
    """A stored archive cut into volume 0 (ending inside the data) and volume 1, which holds
    the rest of the data and the central directory, with the volume numbers to match."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_STORED) as z:
        z.writestr("finds.gpx", TEXT)
    data = bytearray(buffer.getvalue())
    cut = 30 + len("finds.gpx") + 100
    end = data.rfind(b"PK\x05\x06")
    central = struct.unpack_from("<I", data, end + 16)[0]
    struct.pack_into("<HH", data, end + 4, 1, 1)  # this volume, the directory's volume
    struct.pack_into("<I", data, end + 16, central - cut)
    return bytes(data[:cut]), bytes(data[cut:])


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "seeds")
    os.makedirs(out, exist_ok=True)
    seed = lambda name: os.path.join(out, name)
    plain(seed("x-stored.zip"), zipfile.ZIP_STORED)
    plain(seed("x-deflated.zip"), zipfile.ZIP_DEFLATED)
    with open(seed("x-streamed.zip"), "wb") as f:
        f.write(streamed(None))
    with open(seed("x-stub-streamed.zip"), "wb") as f:
        f.write(b"MZ" + b"\x90" * 62 + streamed(None))
    zip64(seed("x-zip64.zip"))
    with tempfile.TemporaryDirectory() as work:
        src = os.path.join(work, "finds.gpx")
        with open(src, "wb") as f:
            f.write(TEXT)
        # Classic encryption and AES (128 and 256) with the fuzz targets' password.
        subprocess.run(["zip", "-q", "-j", "-P", "kalvero", os.path.join(work, "c.zip"), src],
                       check=True)
        shutil.copy(os.path.join(work, "c.zip"), seed("x-classic.zip"))
        for bits in (128, 256):
            target = os.path.join(work, f"aes{bits}.zip")
            subprocess.run(["7z", "a", "-bd", "-bso0", "-tzip", f"-mem=AES{bits}", "-pkalvero",
                            target, src], check=True)
            shutil.copy(target, seed(f"x-aes{bits}.zip"))
    # A split set of two volumes cut inside the entry's data; each volume is a seed.
    first, last = split_set()
    with open(seed("x-split-first.zip"), "wb") as f:
        f.write(first)
    with open(seed("x-split-last.zip"), "wb") as f:
        f.write(last)

if __name__ == "__main__":
    main()
