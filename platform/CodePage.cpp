#include "platform/CodePage.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <iconv.h>

namespace scr {
namespace {

// Converts with iconv; a byte sequence that cannot be converted is replaced by
// `replacement` (already in the target encoding) and conversion goes on.
std::string Convert(std::string_view text, const char* to, const char* from, std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    std::array<char, 4096> buffer{};
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one input unit and mark it.
            out.append(replacement);
            if (std::string_view(from) == "UTF-8") {
                // Skip the whole malformed or unmappable UTF-8 sequence.
                ++in;
                --inLeft;
                while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                    ++in;
                    --inLeft;
                }
            } else {
                ++in;
                --inLeft;
            }
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

// Case tables for the 256 byte values, built once per code page.
struct CaseTables {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
};

CaseTables BuildCaseTables() {
    CaseTables tables;
    {
        const std::string page = SystemCodePage();
        for (int b = 0; b < 256; ++b) {
            tables.lower[b] = tables.upper[b] = static_cast<unsigned char>(b);
        }
        iconv_t toWide = iconv_open("WCHAR_T", page.c_str());
        iconv_t fromWide = iconv_open(page.c_str(), "WCHAR_T");
        if (toWide == reinterpret_cast<iconv_t>(-1) || fromWide == reinterpret_cast<iconv_t>(-1)) {
            for (int b = 'A'; b <= 'Z'; ++b) {
                tables.lower[b] = static_cast<unsigned char>(b + 32);
                tables.upper[b + 32] = static_cast<unsigned char>(b);
            }
        } else {
            auto mapByte = [&](int b, wint_t (*map)(wint_t)) -> unsigned char {
                char in = static_cast<char>(b);
                char* inPtr = &in;
                size_t inLeft = 1;
                wchar_t wide = 0;
                char* outPtr = reinterpret_cast<char*>(&wide);
                size_t outLeft = sizeof(wide);
                iconv(toWide, nullptr, nullptr, nullptr, nullptr);
                if (iconv(toWide, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
                    outLeft != 0)
                    return static_cast<unsigned char>(b);
                wchar_t mapped = static_cast<wchar_t>(map(static_cast<wint_t>(wide)));
                char* wideIn = reinterpret_cast<char*>(&mapped);
                size_t wideLeft = sizeof(mapped);
                char result = 0;
                char* resultPtr = &result;
                size_t resultLeft = 1;
                iconv(fromWide, nullptr, nullptr, nullptr, nullptr);
                if (iconv(fromWide, &wideIn, &wideLeft, &resultPtr, &resultLeft) == static_cast<size_t>(-1) ||
                    resultLeft != 0)
                    return static_cast<unsigned char>(b);
                return static_cast<unsigned char>(result);
            };
            // towlower/towupper need a Unicode-aware C locale; C.UTF-8 is always present.
            locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
            locale_t previous = utf8 ? uselocale(utf8) : static_cast<locale_t>(nullptr);
            for (int b = 0; b < 256; ++b) {
                tables.lower[b] = mapByte(b, [](wint_t c) { return towlower(c); });
                tables.upper[b] = mapByte(b, [](wint_t c) { return towupper(c); });
            }
            if (utf8) {
                uselocale(previous);
                freelocale(utf8);
            }
        }
        if (toWide != reinterpret_cast<iconv_t>(-1)) iconv_close(toWide);
        if (fromWide != reinterpret_cast<iconv_t>(-1)) iconv_close(fromWide);
    }
    return tables;
}

// Built on first use; the initialisation of a local static is thread-safe.
const CaseTables& Tables() {
    static const CaseTables tables = BuildCaseTables();
    return tables;
}

std::string MapCase(std::string_view text, const std::array<unsigned char, 256>& table) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace

std::string SystemCodePage() {
    const char* env = std::getenv("SCRPLAYER_CODEPAGE");
    if (env && *env) return env;
    return "WINDOWS-1252";
}

std::string DecodeCodePage(std::string_view text) {
    return Convert(text, "UTF-8", SystemCodePage().c_str(), "\xEF\xBF\xBD");
}

std::string EncodeCodePage(std::string_view utf8) {
    return Convert(utf8, SystemCodePage().c_str(), "UTF-8", "?");
}

std::string AnsiLowerCase(std::string_view text) {
    return MapCase(text, Tables().lower);
}
std::string AnsiUpperCase(std::string_view text) {
    return MapCase(text, Tables().upper);
}

} // namespace scr
