// The window's "changed since last saved" flag, which shows itself: every change of it is
// told to a listener (the caption's unsaved mark), wherever in the window it is set.
#pragma once

#include <functional>
#include <utility>

namespace vd::ui {

class UnsavedFlag {
  public:
    UnsavedFlag() = default;
    UnsavedFlag(const UnsavedFlag&) = delete;

    void onChange(std::function<void(bool)> listener) { listener_ = std::move(listener); }

    UnsavedFlag& operator=(bool unsaved) {
        const bool changed = unsaved != unsaved_;
        unsaved_ = unsaved;
        if (changed && listener_) listener_(unsaved_);
        return *this;
    }
    operator bool() const { return unsaved_; }

  private:
    bool unsaved_ = false;
    std::function<void(bool)> listener_;
};

}  // namespace vd::ui
