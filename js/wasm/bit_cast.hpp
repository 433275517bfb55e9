// Emscripten 3.1's C++ library declares no std::bit_cast; its compiler has
// the builtin that the function is made of. Included before every library
// source of the WebAssembly build.
#pragma once

#include <version>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From));
    return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
