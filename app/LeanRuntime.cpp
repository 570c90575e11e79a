// The C++ run-time support of the shipped program, which is built without
// exceptions: memory comes from the C run-time heap, and the few errors the
// standard library would throw (memory exhausted, a length or position out of
// range) end the program at once. Linked into ravelind.exe only; the tests
// keep the standard library's own versions.
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail() { std::abort(); }

}  // namespace

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  Fail();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// Where the standard library's templates throw.
namespace std {
void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
}  // namespace std
