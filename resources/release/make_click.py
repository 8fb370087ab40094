#!/usr/bin/env python3
"""Writes the release's hover sound: a short, quiet click (30 ms, 16-bit
mono PCM at 22050 Hz, peak about -18 dBFS), the same bytes on every run.

    make_click.py OUT.wav
"""
import math
import struct
import sys
import wave

RATE = 22050
SECONDS = 0.03
PEAK = 4000  # of 32767: quiet, as it plays at every mouse movement
PITCH = 2000


def samples():
    for i in range(int(RATE * SECONDS)):
        t = i / RATE
        # Quick rise over the first millisecond, then an exponential fade:
        # no step at the start, nothing audible left at the end.
        envelope = min(1.0, t / 0.001) * math.exp(-t * 150)
        yield round(PEAK * envelope * math.sin(2 * math.pi * PITCH * t))


def main(path):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main(sys.argv[1])
