#include "tests/show/AudioTestFiles.h"

#include "tests/support/TempDir.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace scr::test {
namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes, bool bigEndian = false) {
    for (int i = 0; i < bytes; ++i) {
        int shift = 8 * (bigEndian ? bytes - 1 - i : i);
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void PutText(std::vector<uint8_t>& out, const char* text) {
    for (; *text; ++text)
        out.push_back(static_cast<uint8_t>(*text));
}

} // namespace

void WriteToneWav(const std::string& path, int ms, double hertz) {
    constexpr uint32_t rate = 22050;
    const uint32_t samples = rate * static_cast<uint32_t>(ms) / 1000;
    std::vector<uint8_t> out;
    PutText(out, "RIFF");
    Put(out, 36 + samples * 2, 4);
    PutText(out, "WAVEfmt ");
    Put(out, 16, 4);
    Put(out, 1, 2); // PCM
    Put(out, 1, 2); // mono
    Put(out, rate, 4);
    Put(out, rate * 2, 4);
    Put(out, 2, 2);
    Put(out, 16, 2);
    PutText(out, "data");
    Put(out, samples * 2, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        double v = 0.3 * std::sin(2 * std::numbers::pi * hertz * i / rate);
        Put(out, static_cast<uint16_t>(static_cast<int16_t>(v * 32767)), 2);
    }
    WriteFile(path, out);
}

bool WriteToneMp3(const std::string& path, int ms) {
    std::string wav = path + ".wav";
    WriteToneWav(wav, ms);
    int status = RunCommand("lame --quiet '" + wav + "' '" + path + "' 2>&1");
    std::remove(wav.c_str());
    return status == 0;
}

void WriteMidi(const std::string& path, int notes) {
    std::vector<uint8_t> track{0x00, 0xc0, 0x00}; // program 0: piano
    for (int i = 0; i < notes; ++i) {
        uint8_t key = static_cast<uint8_t>(60 + 4 * (i % 3));
        track.insert(track.end(), {0x00, 0x90, key, 0x60}); // note on
        track.insert(track.end(), {0x60, 0x80, key, 0x40}); // 96 ticks later: note off
    }
    track.insert(track.end(), {0x00, 0xff, 0x2f, 0x00}); // end of track
    std::vector<uint8_t> out;
    PutText(out, "MThd");
    Put(out, 6, 4, true);
    Put(out, 0, 2, true);  // format 0
    Put(out, 1, 2, true);  // one track
    Put(out, 96, 2, true); // ticks per quarter note
    PutText(out, "MTrk");
    Put(out, static_cast<uint32_t>(track.size()), 4, true);
    out.insert(out.end(), track.begin(), track.end());
    WriteFile(path, out);
}

} // namespace scr::test
