#pragma once
// Short audio files synthesized for the music tests.

#include <string>

namespace scr::test {

// A 16-bit mono sine tone of `ms` milliseconds.
void WriteToneWav(const std::string& path, int ms, double hertz = 440);
// The same tone encoded as MP3 with the lame encoder; false when that fails.
bool WriteToneMp3(const std::string& path, int ms);
// A General MIDI file of `notes` half-second notes (format 0, 120 beats per minute).
void WriteMidi(const std::string& path, int notes);

} // namespace scr::test
