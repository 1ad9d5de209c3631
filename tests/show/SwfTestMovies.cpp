#include "tests/show/SwfTestMovies.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <initializer_list>

namespace scr::test {
namespace {

class BitWriter {
public:
    void Put(uint32_t value, int width) {
        for (int i = width - 1; i >= 0; --i)
            bits_.push_back((value >> i) & 1);
    }
    void PutSigned(int32_t value, int width) {
        Put(static_cast<uint32_t>(value) & ((1u << width) - 1), width);
    }
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out((bits_.size() + 7) / 8, 0);
        for (size_t i = 0; i < bits_.size(); ++i)
            if (bits_[i]) out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        return out;
    }

private:
    std::vector<bool> bits_;
};

int SignedBits(std::initializer_list<int32_t> values) {
    int32_t largest = 0;
    for (int32_t v : values)
        largest = std::max(largest, std::abs(v));
    return std::max(static_cast<int>(std::bit_width(static_cast<uint32_t>(largest))) + 1, 2);
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

std::vector<uint8_t> Rect(int32_t xmax, int32_t ymax) {
    int n = SignedBits({xmax, ymax});
    BitWriter b;
    b.Put(static_cast<uint32_t>(n), 5);
    for (int32_t v : {0, xmax, 0, ymax})
        b.PutSigned(v, n);
    return b.Bytes();
}

std::vector<uint8_t> Tag(uint16_t code, const std::vector<uint8_t>& data = {}) {
    std::vector<uint8_t> out;
    if (data.size() < 0x3f) {
        Put16(out, static_cast<uint32_t>(code) << 6 | static_cast<uint32_t>(data.size()));
    } else {
        Put16(out, static_cast<uint32_t>(code) << 6 | 0x3f);
        Put16(out, static_cast<uint32_t>(data.size()));
        Put16(out, static_cast<uint32_t>(data.size() >> 16));
    }
    Append(out, data);
    return out;
}

std::vector<uint8_t> SquareShape(int32_t size, uint32_t rgb) {
    std::vector<uint8_t> data;
    Put16(data, 1); // character id
    Append(data, Rect(size, size));
    // One solid fill, no line styles.
    Append(data, {1, 0x00, static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                  static_cast<uint8_t>(rgb), 0});
    BitWriter b;
    b.Put(1, 4);        // fill bits
    b.Put(0, 4);        // line bits
    b.Put(0b000100, 6); // style change: fill style 1 follows
    b.Put(1, 1);
    int n = SignedBits({size});
    const int32_t edges[4][2] = {{size, 0}, {0, size}, {-size, 0}, {0, -size}};
    for (const auto& e : edges) {
        b.Put(0b11, 2); // straight edge
        b.Put(static_cast<uint32_t>(n - 2), 4);
        b.Put(0, 1); // horizontal or vertical
        b.Put(e[0] == 0 ? 1 : 0, 1);
        b.PutSigned(e[0] == 0 ? e[1] : e[0], n);
    }
    b.Put(0, 6); // end of shape
    Append(data, b.Bytes());
    return Tag(2, data);
}

std::vector<uint8_t> Matrix(int32_t x, int32_t y) {
    int n = SignedBits({x, y});
    BitWriter b;
    b.Put(0, 2);
    b.Put(static_cast<uint32_t>(n), 5);
    b.PutSigned(x, n);
    b.PutSigned(y, n);
    return b.Bytes();
}

} // namespace

namespace avm1 {
namespace {

constexpr uint8_t kPush = 0x96, kGetUrl = 0x83, kGetUrl2 = 0x9a, kGetVariable = 0x1c, kSetVariable = 0x1d,
                  kGetMember = 0x4e, kNewObject = 0x40, kCallMethod = 0x52, kPop = 0x17, kTrace = 0x26;

void PutAction(std::vector<uint8_t>& out, uint8_t code, const std::vector<uint8_t>& data) {
    out.push_back(code);
    Put16(out, static_cast<uint32_t>(data.size()));
    Append(out, data);
}

void PushString(std::vector<uint8_t>& out, const std::string& text) {
    std::vector<uint8_t> data{0};
    data.insert(data.end(), text.begin(), text.end());
    data.push_back(0);
    PutAction(out, kPush, data);
}

void PushInteger(std::vector<uint8_t>& out, int value) {
    auto v = static_cast<uint32_t>(value);
    PutAction(out, kPush,
              {7, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
               static_cast<uint8_t>(v >> 24)});
}

// Pushes the arguments last first, then their count, as a call expects.
void PushArguments(std::vector<uint8_t>& out, const std::vector<Argument>& arguments) {
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) {
        if (it->isNumber)
            PushInteger(out, it->number);
        else
            PushString(out, it->text);
    }
    PushInteger(out, static_cast<int>(arguments.size()));
}

std::vector<uint8_t> GetUrl2Flags(const std::string& url, const std::string& target, uint8_t flags) {
    std::vector<uint8_t> out;
    PushString(out, url);
    PushString(out, target);
    PutAction(out, kGetUrl2, {flags});
    return out;
}

} // namespace

std::vector<uint8_t> GetUrl(const std::string& url, const std::string& target) {
    std::vector<uint8_t> data(url.begin(), url.end());
    data.push_back(0);
    data.insert(data.end(), target.begin(), target.end());
    data.push_back(0);
    std::vector<uint8_t> out;
    PutAction(out, kGetUrl, data);
    return out;
}

std::vector<uint8_t> GetUrl2(const std::string& url, const std::string& target) {
    return GetUrl2Flags(url, target, 0x00);
}

std::vector<uint8_t> LoadVariablesNum(const std::string& url, int level) {
    return GetUrl2Flags(url, "_level" + std::to_string(level), 0x80);
}

std::vector<uint8_t> LoadMovieNum(const std::string& url, int level) {
    return GetUrl2Flags(url, "_level" + std::to_string(level), 0x00);
}

std::vector<uint8_t> NewObjectCall(const std::string& className, const std::string& method,
                                   const std::vector<Argument>& arguments) {
    std::vector<uint8_t> out;
    // var o = new className();
    PushString(out, "scrTestObject");
    PushInteger(out, 0);
    PushString(out, className);
    out.push_back(kNewObject);
    out.push_back(kSetVariable);
    // o.method(arguments);
    PushArguments(out, arguments);
    PushString(out, "scrTestObject");
    out.push_back(kGetVariable);
    PushString(out, method);
    out.push_back(kCallMethod);
    out.push_back(kPop);
    return out;
}

std::vector<uint8_t> ExternalInterfaceCall(const std::vector<Argument>& arguments) {
    std::vector<uint8_t> out;
    PushArguments(out, arguments);
    PushString(out, "flash");
    out.push_back(kGetVariable);
    PushString(out, "external");
    out.push_back(kGetMember);
    PushString(out, "ExternalInterface");
    out.push_back(kGetMember);
    PushString(out, "call");
    out.push_back(kCallMethod);
    out.push_back(kPop);
    return out;
}

std::vector<uint8_t> Trace(const std::string& message) {
    std::vector<uint8_t> out;
    PushString(out, message);
    out.push_back(kTrace);
    return out;
}

} // namespace avm1

std::vector<uint8_t> TestMovieBody(const TestMovieOptions& o) {
    int32_t tw = o.width * 20, th = o.height * 20, size = std::min(tw, th) / 3;
    std::vector<uint8_t> body = Rect(tw, th);
    Put16(body, static_cast<uint32_t>(o.fps * 256) & 0xffff);
    Put16(body, static_cast<uint32_t>(o.frames));
    Append(body, Tag(69, {static_cast<uint8_t>(o.actionScript3 ? 0x08 : 0x00), 0, 0, 0}));
    Append(body, Tag(9, {0x20, 0x40, 0x80}));
    Append(body, SquareShape(size, o.squareColor));
    constexpr int kSoundRate = 5512;
    const int samplesPerFrame = static_cast<int>(kSoundRate / o.fps);
    if (o.streamingSound) {
        // SoundStreamHead2: playback and stream format (uncompressed little-endian, 5.5 kHz, 16-bit, mono).
        std::vector<uint8_t> head{0x02, 0x32};
        Put16(head, static_cast<uint32_t>(samplesPerFrame));
        Append(body, Tag(45, head));
    }
    for (int f = 0; f < o.frames; ++f) {
        if (o.streamingSound) {
            std::vector<uint8_t> block;
            for (int i = 0; i < samplesPerFrame; ++i)
                Put16(block, static_cast<uint32_t>(static_cast<int16_t>(i % 25 < 12 ? 800 : -800)) & 0xffff);
            Append(body, Tag(19, block));
        }
        std::vector<uint8_t> place{static_cast<uint8_t>(f == 0 ? 0x06 : 0x05)};
        Put16(place, 1); // depth
        if (f == 0) Put16(place, 1);
        Append(place, Matrix((tw - size) * f / std::max(o.frames - 1, 1), (th - size) / 2));
        Append(body, Tag(26, place));
        if (f == 0 && !o.firstFrameActions.empty()) {
            std::vector<uint8_t> actions = o.firstFrameActions;
            actions.push_back(0); // End
            Append(body, Tag(12, actions));
        }
        Append(body, Tag(1));
    }
    Append(body, Tag(0));
    return body;
}

std::vector<uint8_t> TestMovie(const TestMovieOptions& options) {
    return EncodeSwf(options.compression, options.version, TestMovieBody(options));
}

} // namespace scr::test
