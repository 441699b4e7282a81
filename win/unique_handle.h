// The one owner of whatever a function or module acquires: it releases its handle on every way
// out. It can be handed on (moved) but never copied, since a copy would release twice.
#pragma once

#include <utility>

// Traits describe one kind of handle:
//   using Handle = ...;              what is held (a struct where releasing needs two values)
//   static Handle invalid();          the value that holds nothing
//   static void release(Handle);      gives a valid handle back
template <typename Traits> class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return !(handle_ == Traits::invalid()); }

    // Hands the handle on to whoever releases it from now on (a control that took a bitmap).
    Handle release() { return std::exchange(handle_, Traits::invalid()); }

    // Releases what is held and holds `handle` instead.
    void reset(Handle handle = Traits::invalid()) {
        const Handle previous = std::exchange(handle_, handle);
        if (!(previous == Traits::invalid()))
            Traits::release(previous);
    }

  private:
    Handle handle_ = Traits::invalid();
};
