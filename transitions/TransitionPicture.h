#pragma once
// A picture holder: the picture the transition player changes to next. It
// may hold no graphic at all, or a bitmap (which may itself be empty).
//
// The bitmap can be shared without a copy (share, or assigning one holder
// to another): a holder never changes a bitmap someone else still holds,
// edit first makes its own copy then. A running transition keeps the
// picture it started with this way, and a 4K picture is not copied for it.

#include "platform/Bitmap24.h"

#include <memory>
#include <utility>

namespace scr {

class TransitionPicture {
public:
    bool hasGraphic() const { return bitmap_ != nullptr; }
    // True without a graphic or with an empty one.
    bool isEmpty() const { return !bitmap_ || bitmap_->isEmpty(); }
    int width() const { return bitmap().width(); }
    int height() const { return bitmap().height(); }
    const Bitmap24& bitmap() const { return bitmap_ ? *bitmap_ : Empty(); }

    // The bitmap as it is now; later changes of this holder leave it so.
    std::shared_ptr<const Bitmap24> share() const {
        return bitmap_ ? bitmap_ : std::make_shared<const Bitmap24>();
    }

    void assign(const Bitmap24& bitmap) { assign(Bitmap24(bitmap)); }
    void assign(Bitmap24&& bitmap) { bitmap_ = std::make_shared<Bitmap24>(std::move(bitmap)); }
    void assign(const TransitionPicture& other) {
        if (!other.bitmap_) {
            clear();
            return;
        }
        bitmap_ = other.bitmap_;
    }
    void clear() { bitmap_.reset(); }
    // Changes the bitmap in place (creating the graphic if there is none):
    // edit([](Bitmap24& b) { b.fill(0); }).
    template <typename Change>
    void edit(Change&& change) {
        if (!bitmap_ || bitmap_.use_count() > 1)
            bitmap_ = bitmap_ ? std::make_shared<Bitmap24>(*bitmap_) : std::make_shared<Bitmap24>();
        change(*bitmap_);
    }

private:
    static const Bitmap24& Empty() {
        static const Bitmap24 empty;
        return empty;
    }

    // None without a graphic; shared with other holders and running transitions.
    std::shared_ptr<Bitmap24> bitmap_;
};

} // namespace scr
