#include "package/SwfCandidate.h"

#include "package/SwfBodyStream.h"

#include <algorithm>

namespace scr {
namespace {

// The smallest movie: header, a one-byte stage rectangle, frame rate and
// count, and an End tag.
constexpr uint32_t kMinMovieBytes = kSwfHeaderBytes + 1 + 4 + 2;

std::optional<SwfHeader> HeaderAt(const ByteSource& source, int64_t start) {
    uint8_t bytes[kSwfHeaderBytes];
    if (!source.readAt(start, bytes, sizeof bytes)) return std::nullopt;
    return ParseSwfHeader(bytes);
}

std::string Mib(uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

} // namespace

bool PlausibleSwfHeader(const ByteSource& source, int64_t start) {
    const std::optional<SwfHeader> header = HeaderAt(source, start);
    return header && header->version >= 1 && header->version <= MovieSearchBudget::kMaxVersion &&
           header->declaredLength >= kMinMovieBytes;
}

Result<FoundMovie> CheckSwfCandidate(const ByteSource& source, int64_t start, int64_t end,
                                     MovieSearchBudget& budget, SwfEndRule endRule) {
    const std::optional<SwfHeader> header = HeaderAt(source, start);
    if (!header || start + static_cast<int64_t>(kSwfHeaderBytes) > end)
        return Failure{"it does not start with a Flash movie header (FWS, CWS or ZWS)"};
    const std::string signature(SwfSignature(header->compression));
    if (header->version < 1 || header->version > MovieSearchBudget::kMaxVersion)
        return Failure{signature + " header with version " + std::to_string(header->version) +
                       ", which no Flash movie has"};
    if (header->declaredLength < kMinMovieBytes)
        return Failure{signature + " header declaring " + std::to_string(header->declaredLength) +
                       " bytes, too few for a movie"};
    if (header->bodyLength() > kMaxSwfBodyBytes)
        return Failure{signature + " header declaring " + std::to_string(header->declaredLength) +
                       " bytes uncompressed, more than the " + Mib(kMaxSwfBodyBytes) + " a movie may have"};
    if (header->compression == SwfCompression::None && header->declaredLength > end - start)
        return Failure{"FWS header declaring " + std::to_string(header->declaredLength) +
                       " bytes where only " + std::to_string(end - start) + " remain"};
    if (budget.candidatesLeft <= 0)
        return Failure{"not parsed: the search parses at most " +
                       std::to_string(MovieSearchBudget::kCandidates) + " candidates"};
    if (header->compression != SwfCompression::None &&
        header->bodyLength() + MovieSearchBudget::kZlibSlackBytes > budget.inflatedLeft)
        return Failure{"not parsed: the search inflates at most " + Mib(MovieSearchBudget::kInflatedBytes) +
                       " in all"};
    --budget.candidatesLeft;

    SwfBodyStream stream(source, start, end, *header, header->bodyLength());
    const SwfTimeline timeline = WalkSwfTimeline(stream, header->version);
    std::optional<int64_t> storedEnd;
    if (timeline.ended) storedEnd = stream.StoredEnd(MovieSearchBudget::kZlibSlackBytes);
    if (header->compression != SwfCompression::None)
        budget.inflatedLeft -= std::min<uint64_t>(budget.inflatedLeft, stream.produced());

    const std::string what = signature + " movie version " + std::to_string(header->version) + ": ";
    if (!timeline.ended)
        return Failure{what + (stream.problem().empty() ? timeline.problem : stream.problem())};
    if (!storedEnd) return Failure{what + stream.problem()};
    const bool endsTheBody = timeline.bodyRead == header->bodyLength() &&
                             (timeline.endAt == header->bodyLength() || timeline.zeroAfterEnd);
    if (endRule == SwfEndRule::AtDeclaredLength && !endsTheBody)
        return Failure{what + "its End tag ends at byte " + std::to_string(timeline.endAt + kSwfHeaderBytes) +
                       " of the " + std::to_string(header->declaredLength) + " its header declares"};
    if (timeline.showFrames == 0) return Failure{what + "it has no frames"};
    if (timeline.header.width <= 0 || timeline.header.height <= 0)
        return Failure{what + "its stage has no area (" + std::to_string(timeline.header.width) + " x " +
                       std::to_string(timeline.header.height) + ")"};

    FoundMovie movie;
    movie.offset = start;
    movie.size = *storedEnd - start;
    movie.header = *header;
    movie.frame = timeline.header;
    movie.showFrames = timeline.showFrames;
    movie.actionScript3 = timeline.actionScript3;
    return movie;
}

} // namespace scr
