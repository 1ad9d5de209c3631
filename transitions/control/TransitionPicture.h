#pragma once
// A picture holder with a change notification: the transition control's
// `Picture` and `BgPicture`. It may hold no graphic at all, or a bitmap
// (which may itself be empty). Every change goes through assign, clear or
// edit, which notify the owner.

#include "platform/Bitmap24.h"

#include <functional>
#include <utility>

namespace scr {

class TransitionPicture {
public:
    bool hasGraphic() const { return hasGraphic_; }
    // True without a graphic or with an empty one.
    bool isEmpty() const { return !hasGraphic_ || bitmap_.isEmpty(); }
    int width() const { return bitmap_.width(); }
    int height() const { return bitmap_.height(); }
    const Bitmap24& bitmap() const { return bitmap_; }

    void assign(const Bitmap24& bitmap) { assign(Bitmap24(bitmap)); }
    void assign(Bitmap24&& bitmap) {
        bitmap_ = std::move(bitmap);
        hasGraphic_ = true;
        changed();
    }
    void assign(const TransitionPicture& other) {
        if (!other.hasGraphic_) {
            clear();
            return;
        }
        assign(other.bitmap_);
    }
    void clear() {
        bitmap_.clear();
        hasGraphic_ = false;
        changed();
    }
    // Changes the bitmap in place (creating the graphic if there is none),
    // then notifies: edit([](Bitmap24& b) { b.fill(0); }).
    template <typename Change>
    void edit(Change&& change) {
        hasGraphic_ = true;
        change(bitmap_);
        changed();
    }

    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    void changed() {
        if (onChange_) onChange_();
    }

    Bitmap24 bitmap_;
    bool hasGraphic_ = false;
    std::function<void()> onChange_;
};

} // namespace scr
