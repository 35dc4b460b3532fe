#pragma once

#include <utility>

namespace setip {

// Owns one OS handle and releases it exactly once. `Traits` names the handle type, the value that stands for no
// handle, which values are real handles, and how one is released:
//   struct Traits { using Handle = ...; static Handle none(); static bool valid(Handle); static void release(Handle); };
template <typename Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    UniqueResource(UniqueResource&& other) noexcept : handle_(std::exchange(other.handle_, Traits::none())) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Traits::none()));
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::valid(handle_); }

    // Gives the handle up unreleased, to a call that takes it over.
    Handle release() noexcept { return std::exchange(handle_, Traits::none()); }

    void reset(Handle handle = Traits::none()) noexcept {
        if (Traits::valid(handle_)) Traits::release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::none();
};

// The traits of the usual handle: a pointer, null when there is none, released by one call.
template <typename Pointer, auto releaseCall>
struct PointerHandleTraits {
    using Handle = Pointer;
    static Pointer none() noexcept { return nullptr; }
    static bool valid(Pointer handle) noexcept { return handle != nullptr; }
    static void release(Pointer handle) noexcept { releaseCall(handle); }
};

}  // namespace setip
