#!/usr/bin/env python3
"""Writes the two result sounds of resources/sounds: taken.wav (two short rising tones) and
refused.wav (three low falling buzzes). 16-bit mono PCM at 22050 Hz, each under half a second,
with short fades so that they do not click. Run it again after changing a tone."""
import math
import os
import struct
import wave

RATE = 22050
FADE = 0.008  # seconds of fade at each end of a tone


def tone(frequency, seconds, volume, square=False):
    n = int(RATE * seconds)
    fade = int(RATE * FADE)
    samples = []
    for i in range(n):
        s = math.sin(2 * math.pi * frequency * i / RATE)
        if square:  # a few odd harmonics: a buzz that cannot pass for the taken sound
            s += math.sin(6 * math.pi * frequency * i / RATE) / 3
            s += math.sin(10 * math.pi * frequency * i / RATE) / 5
            s *= 0.7
        edge = min(1.0, i / fade, (n - 1 - i) / fade)
        samples.append(int(32767 * volume * edge * s))
    return samples


def silence(seconds):
    return [0] * int(RATE * seconds)


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "sounds")
os.makedirs(folder, exist_ok=True)
write(os.path.join(folder, "taken.wav"),
      tone(880, 0.09, 0.6) + silence(0.03) + tone(1320, 0.14, 0.6))
write(os.path.join(folder, "refused.wav"),
      tone(330, 0.12, 0.7, True) + silence(0.04) + tone(262, 0.12, 0.7, True) + silence(0.04)
      + tone(196, 0.16, 0.7, True))
