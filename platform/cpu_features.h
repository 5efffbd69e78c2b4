#pragma once

// Instruction sets asked of the processor while the program runs, for the few loops over whole
// files that go faster with them; the program itself is built for any x86-64.
namespace at {

#if defined(__x86_64__)
inline bool hasAvx2() {
    static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return has;
}
#endif

}  // namespace at
