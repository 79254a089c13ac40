// The program's global allocator, linked into the program only. libstdc++'s operator new throws
// std::bad_alloc, which drags its whole exception runtime (and a demangler) into a statically linked
// executable; the launcher has no exceptions of its own and checks for NULL instead.
#include <new>
#include <stdlib.h>

void* operator new(size_t nSize) { return malloc(nSize != 0 ? nSize : 1); }
void* operator new[](size_t nSize) { return malloc(nSize != 0 ? nSize : 1); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
