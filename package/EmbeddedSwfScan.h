#pragma once
// The generic scan for movies that other makers' wrappers carry in a form
// of their own: every "FWS", "CWS" and "ZWS" header with a plausible version
// and length in the first kScanBytes of a file is a candidate, and each is
// parsed in full (SwfCandidate.h) before it is believed. Candidates that lie
// inside a movie already found are nested in it and are not parsed again.
// Every bound is a count of bytes or candidates, never a time, so the answer
// is the same on every machine.

#include "package/ByteSource.h"
#include "package/RecognisedFile.h"
#include "package/SwfCandidate.h"

#include <cstdint>
#include <vector>

namespace scr {

struct EmbeddedSwfScan {
    // Bytes from the start of a file that are searched for headers.
    static constexpr int64_t kScanBytes = 256ll << 20;
    // Rejected candidates listed (more are counted).
    static constexpr std::size_t kListedRejections = 256;

    std::vector<FoundMovie> movies;          // that parse, largest first (ties: first in the file)
    std::vector<RejectedCandidate> rejected; // in file order, at most kListedRejections
    std::size_t rejectedCount = 0;           // all of them, listed or not
    int64_t scannedBytes = 0;
    // Why the scan ended before the end of the file; empty when it did not.
    std::string cut;
};

// Scans the source; candidates at the offsets in `examined` (already parsed
// by a check of their own, with their reasons given there) are passed over.
EmbeddedSwfScan ScanForEmbeddedSwf(const ByteSource& source, MovieSearchBudget& budget,
                                   const std::vector<int64_t>& examined = {});

} // namespace scr
