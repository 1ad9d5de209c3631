#include "transitions/Region.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace scr {
namespace {

struct Span {
    int left;
    int right;
    bool operator==(const Span&) const = default;
};

// Appends bands to a rectangle list and keeps it canonical: a band whose
// spans equal those of the band just above it, and which touches it, extends
// that band instead of starting a new one.
class BandWriter {
public:
    explicit BandWriter(std::vector<Rect>& out) : out_(out) {}

    void append(int top, int bottom, const std::vector<Span>& spans) {
        if (spans.empty() || bottom <= top) return;
        if (lastBandSize_ == spans.size() && lastBottom_ == top && sameAsLastBand(spans)) {
            for (std::size_t i = out_.size() - lastBandSize_; i < out_.size(); ++i)
                out_[i].bottom = bottom;
        } else {
            for (const Span& s : spans)
                out_.push_back({s.left, top, s.right, bottom});
            lastBandSize_ = spans.size();
        }
        lastBottom_ = bottom;
    }

private:
    bool sameAsLastBand(const std::vector<Span>& spans) const {
        const std::size_t first = out_.size() - lastBandSize_;
        for (std::size_t i = 0; i < spans.size(); ++i)
            if (out_[first + i].left != spans[i].left || out_[first + i].right != spans[i].right)
                return false;
        return true;
    }

    std::vector<Rect>& out_;
    std::size_t lastBandSize_ = 0;
    int lastBottom_ = std::numeric_limits<int>::min();
};

// One band of a canonical rectangle list: rects [begin, end) share top and bottom.
struct BandCursor {
    const std::vector<Rect>& rects;
    std::size_t begin = 0;
    std::size_t end = 0;

    explicit BandCursor(const std::vector<Rect>& r) : rects(r) { findEnd(); }
    bool valid() const { return begin < rects.size(); }
    int top() const { return rects[begin].top; }
    int bottom() const { return rects[begin].bottom; }
    void next() {
        begin = end;
        findEnd();
    }
    void spans(std::vector<Span>& out) const {
        out.clear();
        for (std::size_t i = begin; i < end; ++i)
            out.push_back({rects[i].left, rects[i].right});
    }

private:
    void findEnd() {
        end = begin;
        while (end < rects.size() && rects[end].top == rects[begin].top)
            ++end;
    }
};

template <typename Keep>
void CombineSpans(const std::vector<Span>& a, const std::vector<Span>& b, Keep keep, std::vector<Span>& out) {
    out.clear();
    std::size_t ia = 0;
    std::size_t ib = 0;
    bool inA = false;
    bool inB = false;
    bool inside = false;
    int start = 0;
    // Walk the edges of both span lists in order, toggling membership.
    while (ia < a.size() * 2 || ib < b.size() * 2) {
        const int xa =
            ia < a.size() * 2 ? (ia % 2 ? a[ia / 2].right : a[ia / 2].left) : std::numeric_limits<int>::max();
        const int xb =
            ib < b.size() * 2 ? (ib % 2 ? b[ib / 2].right : b[ib / 2].left) : std::numeric_limits<int>::max();
        const int x = std::min(xa, xb);
        if (xa == x) {
            inA = !inA;
            ++ia;
        }
        if (xb == x) {
            inB = !inB;
            ++ib;
        }
        const bool now = keep(inA, inB);
        if (now && !inside) {
            // A span that starts where the previous one ended continues it.
            if (!out.empty() && out.back().right == x) {
                start = out.back().left;
                out.pop_back();
            } else {
                start = x;
            }
        } else if (!now && inside) {
            out.push_back({start, x});
        }
        inside = now;
    }
}

} // namespace

Region::Region(const Rect& rect) {
    const Rect r = rect.normalised();
    if (!r.isEmpty()) rects_.push_back(r);
}

Region Region::FromRects(std::span<const Rect> input) {
    std::vector<Rect> rects;
    rects.reserve(input.size());
    int minY = std::numeric_limits<int>::max();
    int maxY = std::numeric_limits<int>::min();
    for (const Rect& r : input) {
        const Rect n = r.normalised();
        if (n.isEmpty()) continue;
        rects.push_back(n);
        minY = std::min(minY, n.top);
        maxY = std::max(maxY, n.bottom);
    }
    Region region;
    if (rects.empty()) return region;

    // Rectangles by top and the distinct horizontal edges, both in order. The
    // shapes of the transitions span a few thousand rows, so counting beats
    // sorting; very sparse inputs fall back to sorting.
    std::vector<int> edges;
    const int64_t range = static_cast<int64_t>(maxY) - minY + 1;
    if (range <= static_cast<int64_t>(rects.size()) * 8 + 4096) {
        std::vector<uint32_t> starts(static_cast<std::size_t>(range) + 1, 0);
        std::vector<uint8_t> isEdge(static_cast<std::size_t>(range), 0);
        for (const Rect& r : rects) {
            ++starts[static_cast<std::size_t>(r.top - minY) + 1];
            isEdge[static_cast<std::size_t>(r.top - minY)] = 1;
            isEdge[static_cast<std::size_t>(r.bottom - minY)] = 1;
        }
        for (std::size_t i = 1; i < starts.size(); ++i)
            starts[i] += starts[i - 1];
        std::vector<Rect> byTop(rects.size());
        for (const Rect& r : rects)
            byTop[starts[static_cast<std::size_t>(r.top - minY)]++] = r;
        rects.swap(byTop);
        for (std::size_t i = 0; i < isEdge.size(); ++i)
            if (isEdge[i]) edges.push_back(minY + static_cast<int>(i));
    } else {
        std::stable_sort(rects.begin(), rects.end(),
                         [](const Rect& a, const Rect& b) { return a.top < b.top; });
        edges.reserve(rects.size() * 2);
        for (const Rect& r : rects) {
            edges.push_back(r.top);
            edges.push_back(r.bottom);
        }
        std::sort(edges.begin(), edges.end());
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    }

    // Sweep the bands between consecutive edges. The rectangles crossing the
    // current band are kept sorted by left edge (new ones are merged in), so
    // each band's spans come out in order without sorting.
    BandWriter writer(region.rects_);
    auto byLeft = [](const Rect& a, const Rect& b) { return a.left < b.left; };
    std::vector<Rect> active, arriving, merged;
    std::vector<Span> spans;
    std::size_t nextRect = 0;
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
        const int top = edges[e];
        const int bottom = edges[e + 1];
        std::erase_if(active, [top](const Rect& r) { return r.bottom <= top; });
        arriving.clear();
        while (nextRect < rects.size() && rects[nextRect].top <= top)
            arriving.push_back(rects[nextRect++]);
        if (!arriving.empty()) {
            std::sort(arriving.begin(), arriving.end(), byLeft);
            merged.clear();
            std::merge(active.begin(), active.end(), arriving.begin(), arriving.end(),
                       std::back_inserter(merged), byLeft);
            active.swap(merged);
        }
        if (active.empty()) continue;
        spans.clear();
        for (const Rect& r : active) {
            if (!spans.empty() && r.left <= spans.back().right)
                spans.back().right = std::max(spans.back().right, r.right);
            else
                spans.push_back({r.left, r.right});
        }
        writer.append(top, bottom, spans);
    }
    return region;
}

Region Region::Combine(const Region& a, const Region& b, Operation op) {
    auto keep = [op](bool inA, bool inB) {
        switch (op) {
        case Operation::Union:
            return inA || inB;
        case Operation::Intersection:
            return inA && inB;
        case Operation::Xor:
            return inA != inB;
        case Operation::Difference:
            return inA && !inB;
        }
        return false;
    };
    Region result;
    BandWriter writer(result.rects_);
    BandCursor ca(a.rects_);
    BandCursor cb(b.rects_);
    std::vector<Span> spansA, spansB, spans;
    const std::vector<Span> none;
    int y = std::numeric_limits<int>::min();
    while (ca.valid() || cb.valid()) {
        while (ca.valid() && ca.bottom() <= y)
            ca.next();
        while (cb.valid() && cb.bottom() <= y)
            cb.next();
        if (!ca.valid() && !cb.valid()) break;
        constexpr int kNone = std::numeric_limits<int>::max();
        const bool activeA = ca.valid() && ca.top() <= y;
        const bool activeB = cb.valid() && cb.top() <= y;
        if (!activeA && !activeB) {
            y = std::min(ca.valid() ? ca.top() : kNone, cb.valid() ? cb.top() : kNone);
            continue;
        }
        const int nextA = !ca.valid() ? kNone : activeA ? ca.bottom() : ca.top();
        const int nextB = !cb.valid() ? kNone : activeB ? cb.bottom() : cb.top();
        const int bottom = std::min(nextA, nextB);
        if (activeA) ca.spans(spansA);
        if (activeB) cb.spans(spansB);
        CombineSpans(activeA ? spansA : none, activeB ? spansB : none, keep, spans);
        writer.append(y, bottom, spans);
        y = bottom;
    }
    return result;
}

Region Region::united(const Region& other) const {
    return Combine(*this, other, Operation::Union);
}
Region Region::intersected(const Region& other) const {
    return Combine(*this, other, Operation::Intersection);
}
Region Region::xored(const Region& other) const {
    return Combine(*this, other, Operation::Xor);
}
Region Region::subtracted(const Region& other) const {
    return Combine(*this, other, Operation::Difference);
}

Region Region::translated(int dx, int dy) const {
    Region moved = *this;
    for (Rect& r : moved.rects_)
        r = r.translated(dx, dy);
    return moved;
}

Rect Region::bounds() const {
    if (rects_.empty()) return {};
    Rect b = rects_.front();
    for (const Rect& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.right = std::max(b.right, r.right);
    }
    b.bottom = rects_.back().bottom;
    return b;
}

bool Region::contains(int x, int y) const {
    for (const Rect& r : rects_)
        if (r.contains(x, y)) return true;
    return false;
}

int64_t Region::area() const {
    int64_t total = 0;
    for (const Rect& r : rects_)
        total += static_cast<int64_t>(r.width()) * r.height();
    return total;
}

} // namespace scr
