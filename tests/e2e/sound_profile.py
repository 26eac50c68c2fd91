"""Pitch profiles of recorded and reference sound, in plain Python."""
import math
import struct
import wave

RATE = 5512  # analysis rate: 22050 / 4


def read_wav_mono(path, seconds):
    """The first SECONDS of a PCM WAVE file, as mono floats at RATE."""
    with wave.open(path, 'rb') as w:
        ch, width, rate = w.getnchannels(), w.getsampwidth(), w.getframerate()
        data = w.readframes(int(seconds * rate))
    if width == 1:
        vals = [(b - 128) * 256 for b in data]
    else:
        vals = list(struct.unpack('<%dh' % (len(data) // 2), data))
    return decimate(vals, ch, rate)


def decimate(vals, ch, rate):
    step = max(1, rate // RATE) * ch
    return [sum(vals[i:i + step]) / step for i in range(0, len(vals) - step + 1, step)]


def raw_s16_mono(data, ch=2, rate=22050):
    vals = list(struct.unpack('<%dh' % (len(data) // 2), data[:len(data) // 2 * 2]))
    return decimate(vals, ch, rate)


def rms(x):
    return math.sqrt(sum(v * v for v in x) / len(x)) if x else 0.0


def profile(x, lo=40, hi=88):
    """Energy at each semitone from MIDI note LO to HI (Goertzel)."""
    out = []
    for m in range(lo, hi):
        f = 440.0 * 2 ** ((m - 69) / 12.0)
        c = 2 * math.cos(2 * math.pi * f / RATE)
        s1 = s2 = 0.0
        for v in x:
            s1, s2 = v + c * s1 - s2, s1
        out.append(s1 * s1 + s2 * s2 - c * s1 * s2)
    return out


def similarity(a, b):
    a = [math.sqrt(max(v, 0)) for v in a]
    b = [math.sqrt(max(v, 0)) for v in b]
    dot = sum(p * q for p, q in zip(a, b))
    na, nb = math.sqrt(sum(p * p for p in a)), math.sqrt(sum(q * q for q in b))
    return dot / (na * nb) if na and nb else 0.0
