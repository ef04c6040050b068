#include "astro/vector_state.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define ASTROVELA_X86 1
#endif

namespace astro {

namespace dettaglio {

namespace {
bool Rileva_Avx()
{
#ifdef ASTROVELA_X86
    // Also checks that the system saves the registers' upper halves.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}
} // namespace

const bool kAvx = Rileva_Avx();

#ifdef ASTROVELA_X86
__attribute__((target("avx"))) void Vzeroupper()
{
    _mm256_zeroupper();
}
#else
void Vzeroupper() {}
#endif

} // namespace dettaglio

std::optional<bool> Meta_Alte_In_Uso()
{
#ifdef ASTROVELA_X86
    if (!dettaglio::kAvx)
        return std::nullopt;
    // XGETBV with ECX = 1 reads which parts of the register state are in
    // use (bit 2: the upper halves), where the processor offers it.
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid_count(0x0d, 1, &a, &b, &c, &d) || !(a & (1u << 2)))
        return std::nullopt;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return (lo & (1u << 2)) != 0;
#else
    return std::nullopt;
#endif
}

bool Occupa_Meta_Alte()
{
#ifdef ASTROVELA_X86
    if (!dettaglio::kAvx)
        return false;
    // Not in a function built for AVX: the compiler would clear the halves
    // again on its way out.
    __asm__ volatile("vpcmpeqd %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
    return true;
#else
    return false;
#endif
}

} // namespace astro
