#include "link/shared_raise.h"

#include <utility>

namespace tabulon::link {

SharedRaise::SharedRaise(Read read, Write write, int raised)
    : read_(std::move(read)), write_(std::move(write)), raised_(raised) {}

void SharedRaise::enter() {
    const std::lock_guard lock(mutex_);
    if (holders_++ > 0) return;
    noted_ = read_();
    changed_ = noted_ != 0 && write_(raised_);
}

void SharedRaise::leave() {
    const std::lock_guard lock(mutex_);
    if (holders_ == 0 || --holders_ > 0) return;
    if (changed_) write_(noted_);
    changed_ = false;
}

}  // namespace tabulon::link
