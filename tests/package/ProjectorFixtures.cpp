#include "tests/package/ProjectorFixtures.h"

#include "tests/show/SwfTestMovies.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace scr::test {
namespace {

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Set(std::vector<uint8_t>& out, std::size_t at, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::vector<uint8_t> Noise(std::size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> out(count);
    for (uint8_t& b : out)
        b = static_cast<uint8_t>(random());
    return out;
}

constexpr uint32_t kMagic = 0xFA123456u;

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

std::vector<uint8_t> MinimalElfProgram(int bits) {
    const bool wide = bits == 64;
    const int word = wide ? 8 : 4;
    const std::size_t headerSize = wide ? 64 : 52, phSize = wide ? 56 : 32, shSize = wide ? 64 : 40;
    const uint64_t base = wide ? 0x400000 : 0x08048000;
    // exit(0): x86-64 "mov eax, 60; xor edi, edi; syscall", i386 "mov eax, 1; xor ebx, ebx; int 0x80".
    const std::vector<uint8_t> code = wide ? std::vector<uint8_t>{0xb8, 60, 0, 0, 0, 0x31, 0xff, 0x0f, 0x05}
                                           : std::vector<uint8_t>{0xb8, 1, 0, 0, 0, 0x31, 0xdb, 0xcd, 0x80};
    const std::string names("\0.text\0.shstrtab\0", 17);
    const std::size_t codeAt = headerSize + phSize;
    const std::size_t namesAt = codeAt + code.size();
    std::size_t tableAt = namesAt + names.size();
    tableAt = (tableAt + 7) / 8 * 8;

    std::vector<uint8_t> out = {0x7f, 'E', 'L', 'F', static_cast<uint8_t>(wide ? 2 : 1), 1, 1, 0};
    out.resize(16, 0);
    Put(out, 2, 2);                  // e_type: executable
    Put(out, wide ? 0x3e : 0x03, 2); // e_machine
    Put(out, 1, 4);                  // e_version
    Put(out, base + codeAt, word);   // e_entry
    Put(out, headerSize, word);      // e_phoff
    Put(out, tableAt, word);         // e_shoff
    Put(out, 0, 4);                  // e_flags
    Put(out, headerSize, 2);         // e_ehsize
    Put(out, phSize, 2);             // e_phentsize
    Put(out, 1, 2);                  // e_phnum
    Put(out, shSize, 2);             // e_shentsize
    Put(out, 3, 2);                  // e_shnum
    Put(out, 2, 2);                  // e_shstrndx
    // The one loadable segment: headers and code, read and execute. The
    // 64-bit header moves the flags up to follow the type.
    constexpr uint64_t kLoad = 1, kReadExecute = 5;
    Put(out, kLoad, 4);
    if (wide) Put(out, kReadExecute, 4);
    for (const uint64_t field : {uint64_t{0}, base, base, uint64_t{namesAt}, uint64_t{namesAt}})
        Put(out, field, word); // offset, addresses, sizes in the file and in memory
    if (!wide) Put(out, kReadExecute, 4);
    Put(out, 0x1000, word); // alignment
    Append(out, code);
    out.insert(out.end(), names.begin(), names.end());
    out.resize(tableAt, 0);
    const auto section = [&](uint32_t name, uint32_t type, uint64_t flags, uint64_t address, uint64_t offset,
                             uint64_t size) {
        const std::size_t at = out.size();
        out.resize(at + shSize, 0);
        Set(out, at, name, 4);
        Set(out, at + 4, type, 4);
        Set(out, at + 8, flags, word);
        Set(out, at + 8 + static_cast<std::size_t>(word), address, word);
        Set(out, at + 8 + 2 * static_cast<std::size_t>(word), offset, word);
        Set(out, at + 8 + 3 * static_cast<std::size_t>(word), size, word);
        Set(out, at + 8 + 6 * static_cast<std::size_t>(word) + 8, 1, word); // sh_addralign
    };
    section(0, 0, 0, 0, 0, 0);
    section(1, 1, 6, base + codeAt, codeAt, code.size());
    section(7, 3, 0, 0, namesAt, names.size());
    return out;
}

std::vector<uint8_t> WindowsProjector(const std::vector<uint8_t>& program,
                                      const std::vector<uint8_t>& movie) {
    std::vector<uint8_t> out = program;
    Append(out, movie);
    Put(out, kMagic, 4);
    Put(out, movie.size(), 4);
    return out;
}

std::vector<uint8_t> LinuxProjector(const std::vector<uint8_t>& elfProgram, const std::vector<uint8_t>& movie,
                                    int bits) {
    std::vector<uint8_t> out = elfProgram;
    const int word = bits / 8;
    Put(out, movie.size(), word);
    Put(out, bits == 64 ? 0xFFFFFFFF00000000ull | kMagic : kMagic, word);
    Append(out, movie);
    return out;
}

void WriteMacApp(const std::string& folder, const std::vector<uint8_t>& movie) {
    namespace fs = std::filesystem;
    const std::string name = fs::path(folder).stem().string();
    fs::create_directories(fs::path(folder) / "Contents/MacOS");
    fs::create_directories(fs::path(folder) / "Contents/Resources");
    const std::string plist = "<?xml version=\"1.0\"?><plist><dict><key>CFBundleExecutable</key><string>" +
                              name + "</string></dict></plist>\n";
    WriteBytes(fs::path(folder) / "Contents/Info.plist", std::vector<uint8_t>(plist.begin(), plist.end()));
    WriteBytes(fs::path(folder) / "Contents/MacOS" / name, MinimalElfProgram(64));
    WriteBytes(fs::path(folder) / "Contents/Resources/movie.swf", movie);
}

std::vector<uint8_t> WrapperWithDecoys(const std::vector<uint8_t>& movie) {
    std::vector<uint8_t> out = MinimalElfProgram(64);
    const std::string ownHeader = "SAVERWRAP1";
    out.insert(out.end(), ownHeader.begin(), ownHeader.end());
    Append(out, Noise(3000, 1));
    // A version no movie has.
    Append(out, {'F', 'W', 'S', 200, 0x40, 0, 0, 0});
    Append(out, Noise(500, 2));
    // A zlib stream of noise.
    Append(out, {'C', 'W', 'S', 10, 0x00, 0x10, 0, 0});
    Append(out, Noise(700, 3));
    // The movie cut in half, uncompressed.
    std::vector<uint8_t> cut = TestMovie({.frames = 30});
    cut.resize(cut.size() / 2);
    Append(out, cut);
    // LZMA properties that are not valid.
    Append(out, {'Z', 'W', 'S', 13, 0x00, 0x10, 0, 0, 0x20, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 0xff});
    Append(out, Noise(64, 4));
    // A movie with no frame: a stage and an End tag.
    Append(out, {'F', 'W', 'S', 8, 15, 0, 0, 0, 0x00, 0, 12, 0, 0, 0, 0});
    Append(out, Noise(300, 5));
    // A smaller movie that parses, the smallest there is: a 2 x 2 stage, one
    // empty frame (21 bytes, fewer than any real movie).
    Append(out, {'F', 'W', 'S', 6, 21, 0, 0, 0, 0x38, 0x05, 0x00, 0x14, 0x00, 0, 12, 1, 0, 0x40, 0, 0, 0});
    Append(out, Noise(200, 6));
    Append(out, movie);
    Append(out, Noise(1000, 7));
    return out;
}

int64_t WrappedMovieOffset(const std::vector<uint8_t>& wrapper, const std::vector<uint8_t>& movie) {
    const auto at = std::search(wrapper.begin(), wrapper.end(), movie.begin(), movie.end());
    return at == wrapper.end() ? -1 : at - wrapper.begin();
}

} // namespace scr::test
