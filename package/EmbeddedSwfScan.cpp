#include "package/EmbeddedSwfScan.h"

#include <algorithm>
#include <string_view>

namespace scr {
namespace {

// Small enough to stay in the processor's cache: reading is then several times faster.
constexpr std::size_t kChunkBytes = 64u << 10;

bool IsSignatureStart(uint8_t c) {
    return c == 'F' || c == 'C' || c == 'Z';
}

} // namespace

EmbeddedSwfScan ScanForEmbeddedSwf(const ByteSource& source, MovieSearchBudget& budget,
                                   const std::vector<int64_t>& examined) {
    EmbeddedSwfScan scan;
    const int64_t limit = std::min(source.size(), EmbeddedSwfScan::kScanBytes);
    std::vector<uint8_t> chunk;
    const auto reject = [&](int64_t offset, std::string reason) {
        ++scan.rejectedCount;
        if (scan.rejected.size() < EmbeddedSwfScan::kListedRejections)
            scan.rejected.push_back({offset, std::move(reason)});
    };
    // The movie a place lies inside, when it lies inside one already found.
    const auto containing = [&](int64_t offset) -> const FoundMovie* {
        for (const FoundMovie& movie : scan.movies)
            if (offset > movie.offset && offset < movie.offset + movie.size) return &movie;
        return nullptr;
    };

    for (int64_t base = 0; base < limit && scan.cut.empty(); base += kChunkBytes) {
        // Each chunk reads two bytes more, so a signature across its end is seen.
        const auto count = static_cast<std::size_t>(std::min<int64_t>(kChunkBytes + 2, source.size() - base));
        chunk.resize(count);
        if (!source.readAt(base, chunk.data(), count)) break;
        const std::string_view text(reinterpret_cast<const char*>(chunk.data()), count);
        const std::size_t starts = std::min<std::size_t>(count, kChunkBytes);
        for (std::size_t at = text.find("WS", 1); at != std::string_view::npos && at - 1 < starts;
             at = text.find("WS", at + 1)) {
            const int64_t offset = base + static_cast<int64_t>(at) - 1;
            if (!IsSignatureStart(chunk[at - 1]) || !PlausibleSwfHeader(source, offset)) continue;
            if (std::find(examined.begin(), examined.end(), offset) != examined.end()) continue;
            if (const FoundMovie* outer = containing(offset)) {
                reject(offset, "lies inside the movie at byte " + std::to_string(outer->offset));
                continue;
            }
            if (budget.candidatesLeft <= 0) {
                scan.cut = "the scan stopped at byte " + std::to_string(offset) + " after " +
                           std::to_string(MovieSearchBudget::kCandidates) + " candidates";
                break;
            }
            Result<FoundMovie> movie =
                CheckSwfCandidate(source, offset, source.size(), budget, SwfEndRule::AtDeclaredLength);
            if (!movie) {
                reject(offset, movie.error());
                continue;
            }
            movie->place = "at byte " + std::to_string(offset) + ", found by scanning";
            scan.movies.push_back(std::move(*movie));
        }
        scan.scannedBytes = std::min(limit, base + static_cast<int64_t>(kChunkBytes));
    }
    if (scan.cut.empty() && limit < source.size())
        scan.cut =
            "the scan searches only the first " + std::to_string(EmbeddedSwfScan::kScanBytes >> 20) + " MiB";
    std::stable_sort(scan.movies.begin(), scan.movies.end(),
                     [](const FoundMovie& a, const FoundMovie& b) { return a.size > b.size; });
    return scan;
}

} // namespace scr
