// What the C++ runtime does when it cannot go on: the program ends at once.
//
// Nothing in the program catches an exception, so every throw from the
// standard library (a failed allocation, a length beyond max_size) could
// only end in std::terminate and abort. Ending here instead, before anything
// is thrown, gives the same result without linking the exception machinery:
// the throw helpers, the exception classes with their own string type, the
// unwinder's bookkeeping and the thread library it needs came to more than a
// quarter of quillbee.exe.
//
// The allocation functions are replaced for the same reason: the library's
// operator new throws std::bad_alloc. The nothrow forms still report a failed
// allocation by a null pointer, which the callers check.
#include <cstdlib>
#include <new>

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_bad_exception() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }
}  // namespace std

namespace {
void* AllocateOrNull(std::size_t size) { return std::malloc(size != 0 ? size : 1); }

void* AllocateOrEnd(std::size_t size) {
    void* block = AllocateOrNull(size);
    if (block == nullptr) std::abort();
    return block;
}
}  // namespace

void* operator new(std::size_t size) { return AllocateOrEnd(size); }
void* operator new[](std::size_t size) { return AllocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

// The library's own copy of the string members was built with exceptions and
// would bring the whole exception runtime back; this copy is built as the
// rest of the program is, and the linker keeps only the members in use.
#include <string>
template class std::basic_string<char>;
