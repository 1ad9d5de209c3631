#pragma once
// A picture holder with a change notification: the transition control's
// `Picture` and `BgPicture`. It may hold no graphic at all, or a bitmap
// (which may itself be empty). Every change goes through assign, clear or
// edit, which notify the owner.
//
// The bitmap can be shared without a copy (share, or assigning one holder
// to another): a holder never changes a bitmap someone else still holds,
// edit first makes its own copy then. A running transition keeps the
// picture it started with this way, and a 4K picture is not copied for it.

#include "platform/Bitmap24.h"

#include <functional>
#include <memory>
#include <utility>

namespace scr {

class TransitionPicture {
public:
    bool hasGraphic() const { return hasGraphic_; }
    // True without a graphic or with an empty one.
    bool isEmpty() const { return !hasGraphic_ || bitmap().isEmpty(); }
    int width() const { return bitmap().width(); }
    int height() const { return bitmap().height(); }
    const Bitmap24& bitmap() const { return bitmap_ ? *bitmap_ : Empty(); }

    // The bitmap as it is now; later changes of this holder leave it so.
    std::shared_ptr<const Bitmap24> share() const {
        return bitmap_ ? bitmap_ : std::make_shared<const Bitmap24>();
    }

    void assign(const Bitmap24& bitmap) { assign(Bitmap24(bitmap)); }
    void assign(Bitmap24&& bitmap) {
        bitmap_ = std::make_shared<Bitmap24>(std::move(bitmap));
        hasGraphic_ = true;
        changed();
    }
    void assign(const TransitionPicture& other) {
        if (!other.hasGraphic_) {
            clear();
            return;
        }
        bitmap_ = other.bitmap_;
        hasGraphic_ = true;
        changed();
    }
    void clear() {
        bitmap_.reset();
        hasGraphic_ = false;
        changed();
    }
    // Changes the bitmap in place (creating the graphic if there is none),
    // then notifies: edit([](Bitmap24& b) { b.fill(0); }).
    template <typename Change>
    void edit(Change&& change) {
        if (!bitmap_ || bitmap_.use_count() > 1)
            bitmap_ = bitmap_ ? std::make_shared<Bitmap24>(*bitmap_) : std::make_shared<Bitmap24>();
        hasGraphic_ = true;
        change(*bitmap_);
        changed();
    }

    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    static const Bitmap24& Empty() {
        static const Bitmap24 empty;
        return empty;
    }
    void changed() {
        if (onChange_) onChange_();
    }

    std::shared_ptr<Bitmap24> bitmap_; // shared with other holders and running transitions
    bool hasGraphic_ = false;
    std::function<void()> onChange_;
};

} // namespace scr
