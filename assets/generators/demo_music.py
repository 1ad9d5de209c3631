#!/usr/bin/env python3
"""Synthesizes the demo's music track: a calm loop of seventh chords with a
soft pad, a plucked arpeggio with an echo and a round bass, written as a
16-bit mono WAV file (about 20 seconds, under a megabyte).

usage: demo_music.py OUTPUT.wav
"""

import array
import math
import os
import sys
import wave

RATE = 22050
BEAT = 0.6  # seconds (100 beats per minute)
BEATS_PER_CHORD = 4
TAIL = 2.5  # seconds of echo and release after the last chord

# Chords as MIDI note numbers, root first: Cmaj7, Am7, Fmaj7, G6, Cmaj7, Em7, Fmaj7, G7sus.
CHORDS = [
    [48, 52, 55, 59], [45, 48, 52, 55], [41, 45, 48, 52], [43, 47, 50, 52],
    [48, 52, 55, 59], [40, 43, 47, 50], [41, 45, 48, 52], [43, 48, 50, 53],
]
ARPEGGIO = [0, 1, 2, 3, 2, 1, 2, 3]  # chord tones per eighth note


def frequency(note):
    return 440.0 * 2 ** ((note - 69) / 12)


def add_tone(buffer, start, length, freq, gain, attack, decay, harmonics):
    """Adds a tone with a linear attack and an exponential decay (seconds)."""
    first = int(start * RATE)
    count = min(int(length * RATE), len(buffer) - first)
    step = 2 * math.pi * freq / RATE
    attack_samples = max(1, int(attack * RATE))
    fade = math.exp(-1.0 / (decay * RATE))
    level = gain
    for i in range(count):
        envelope = level * min(1.0, i / attack_samples)
        phase = step * i
        value = 0.0
        for k, weight in harmonics:
            value += weight * math.sin(k * phase)
        buffer[first + i] += envelope * value
        level *= fade


def render():
    chord_length = BEAT * BEATS_PER_CHORD
    total = len(CHORDS) * chord_length + TAIL
    dry = array.array('d', bytes(8 * int(total * RATE)))
    plucks = array.array('d', bytes(8 * int(total * RATE)))
    for index, chord in enumerate(CHORDS):
        start = index * chord_length
        # Pad: the upper chord tones an octave up, swelling in and overlapping
        # the next chord a little.
        for note in chord[1:]:
            add_tone(dry, start, chord_length + 0.8, frequency(note + 12), 0.07, 0.5, 2.5, [(1, 1.0), (2, 0.25)])
        # Bass: the root on beats one and three.
        for beat in (0, 2):
            add_tone(dry, start + beat * BEAT, 1.4, frequency(chord[0] - 12), 0.22, 0.01, 0.5,
                     [(1, 1.0), (2, 0.3), (3, 0.1)])
        # Arpeggio: eighth notes two octaves above the chord.
        for step, tone in enumerate(ARPEGGIO):
            add_tone(plucks, start + step * BEAT / 2, 1.2, frequency(chord[tone] + 24), 0.09, 0.004, 0.22,
                     [(1, 1.0), (2, 0.2), (3, 0.08)])
    # Echo on the arpeggio: a dotted-eighth delay, fed back softly.
    delay = int(BEAT * 0.75 * RATE)
    for i in range(delay, len(plucks)):
        plucks[i] += 0.38 * plucks[i - delay]
    mix = array.array('d', (a + b for a, b in zip(dry, plucks)))
    peak = max(abs(v) for v in mix) or 1.0
    fade_in, fade_out = int(0.05 * RATE), int(TAIL * RATE)
    samples = array.array('h')
    for i, v in enumerate(mix):
        gain = 0.8 / peak * min(1.0, i / fade_in, (len(mix) - i) / fade_out)
        samples.append(int(round(v * gain * 32767)))
    return samples


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    path = sys.argv[1]
    partial = path + '.part'
    samples = render()
    if sys.byteorder != 'little':
        samples.byteswap()
    with wave.open(partial, 'wb') as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(samples.tobytes())
    os.replace(partial, path)


if __name__ == '__main__':
    main()
