#pragma once
// Checks whether a movie lies at a place of a file: its header must be a
// movie's with a plausible version and length, and the whole movie must
// parse (frame header and every tag up to End within the declared length,
// at least one frame, a stage of some size). The work is bounded by a budget
// shared by every candidate of one file, so that no file, however made, costs
// more than the budget allows, whatever the machine's speed.

#include "package/ByteSource.h"
#include "package/RecognisedFile.h"
#include "package/Result.h"

#include <cstdint>

namespace scr {

// The limits of one file's search for movies.
struct MovieSearchBudget {
    // Candidates parsed in full.
    static constexpr int kCandidates = 64;
    // Bytes inflated for all candidates together (each movie body is also
    // bounded by kMaxSwfBodyBytes, the most the player reads).
    static constexpr uint64_t kInflatedBytes = 512ull << 20;
    // Bytes a zlib stream may inflate past its declared length before its end is found.
    static constexpr std::size_t kZlibSlackBytes = 1u << 20;
    // Versions a movie header may state.
    static constexpr uint8_t kMaxVersion = 64;

    int candidatesLeft = kCandidates;
    uint64_t inflatedLeft = kInflatedBytes;
};

// How closely the End tag must meet the declared length: within it (a
// movie whose place the file states, which a player plays as far as it
// goes), or at it, with only zero bytes of padding after it, in a body of
// the whole declared length (a movie the scan found: every movie writer puts
// End last, while a stray header followed by other data ends elsewhere, if
// at all).
enum class SwfEndRule { WithinDeclaredLength, AtDeclaredLength };

// The movie whose header lies at `start`, stored no further than `end`.
// The found movie's size is its stored extent (see SwfBodyStream::StoredEnd).
// A failure says why, in words fit for a user.
Result<FoundMovie> CheckSwfCandidate(const ByteSource& source, int64_t start, int64_t end,
                                     MovieSearchBudget& budget,
                                     SwfEndRule endRule = SwfEndRule::WithinDeclaredLength);

// A quick look at a header, before any parse: true when the bytes at `start`
// begin with a movie signature, a version 1..kMaxVersion and a declared
// length of at least a minimal movie.
bool PlausibleSwfHeader(const ByteSource& source, int64_t start);

} // namespace scr
