// See vector_state.h. This file is linked into the test programs that look
// at the vector registers' upper halves: the C maths functions it defines
// take the place of the C library's in the whole program, note the state
// when a test asks for it and hand on to the library's own, so every result
// stays the same. No <cmath> here: its declarations would clash with these.
#include "support/vector_state.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define ASTROVELA_TEST_X86 1
#endif

namespace testsupport {

void Annota(bool inUso);

namespace {

thread_local Sonda* t_sonda = nullptr;
thread_local bool t_armata = false;

#ifdef ASTROVELA_TEST_X86
// XGETBV with ECX = 1: the parts of the register state in use; bit 2 the
// upper halves.
inline bool Leggi_In_Uso()
{
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return (lo & (1u << 2)) != 0;
}
#else
inline bool Leggi_In_Uso()
{
    return false;
}
#endif

bool Processore_Adatto()
{
#ifdef ASTROVELA_TEST_X86
    unsigned a = 0, b = 0, c = 0, d = 0;
    // AVX, and the system saves the registers' state (OSXSAVE)...
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_AVX) || !(c & bit_OSXSAVE))
        return false;
    // ... with their upper halves (XCR0 bits 1 and 2)...
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & 6u) != 6u)
        return false;
    // ... and XGETBV can read which parts are in use.
    if (__get_cpuid_max(0, nullptr) < 0x0d || !__get_cpuid_count(0x0d, 1, &a, &b, &c, &d) || !(a & (1u << 2)))
        return false;
    return true;
#else
    return false;
#endif
}

void Vzeroupper()
{
#ifdef ASTROVELA_TEST_X86
    __asm__ volatile("vzeroupper" ::: "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8",
                     "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
}

// The state at a maths function's call, when this thread asked for it.
inline void Nota()
{
    if (!t_armata)
        return;
    // Read first: whatever runs after it may change it.
    const bool inUso = Leggi_In_Uso();
    t_armata = false;
    Annota(inUso);
}

template <typename F>
F Vera(const char* nome)
{
    void* f = dlsym(RTLD_NEXT, nome);
    if (!f) {
        std::fprintf(stderr, "vector_state: the C library has no %s\n", nome);
        std::abort();
    }
    return reinterpret_cast<F>(f);
}

} // namespace

void Annota(bool inUso)
{
    if (t_sonda)
        t_sonda->m_note.push_back(inUso);
}

bool Stato_Visibile()
{
    static const bool visibile = [] {
        if (!Processore_Adatto())
            return false;
        Occupa_Meta_Alte();
        const bool occupate = Leggi_In_Uso();
        Vzeroupper();
        return occupate && !Leggi_In_Uso();
    }();
    return visibile;
}

bool Meta_Alte_In_Uso()
{
    return Stato_Visibile() && Leggi_In_Uso();
}

void Occupa_Meta_Alte()
{
#ifdef ASTROVELA_TEST_X86
    if (!Processore_Adatto())
        return;
    // Not in a function built for AVX: the compiler would clear the halves
    // again on its way out.
    __asm__ volatile("vpcmpeqd %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
#endif
}

Sonda::Sonda()
{
    t_sonda = this;
    t_armata = false;
}

Sonda::~Sonda()
{
    t_armata = false;
    t_sonda = nullptr;
}

void Sonda::Prossima()
{
    t_armata = Stato_Visibile();
}

std::optional<bool> In_Uso_Entrando(const std::function<void()>& calcolo)
{
    Sonda sonda;
    sonda.Prossima();
    Occupa_Meta_Alte();
    calcolo();
    if (sonda.note().empty())
        return std::nullopt;
    return sonda.note().front();
}

} // namespace testsupport

// ---------------------------------------------------------------- the C maths functions
// Those the computation calls (nm -u of its libraries), each noting the state
// first and then handing on to the C library's own.

#define SONDA_1(nome)                                                                  \
    extern "C" double nome(double x) noexcept                                          \
    {                                                                                  \
        testsupport::Nota();                                                           \
        static const auto f = testsupport::Vera<double (*)(double)>(#nome);            \
        return f(x);                                                                   \
    }
#define SONDA_2(nome)                                                                  \
    extern "C" double nome(double x, double y) noexcept                                \
    {                                                                                  \
        testsupport::Nota();                                                           \
        static const auto f = testsupport::Vera<double (*)(double, double)>(#nome);    \
        return f(x, y);                                                                \
    }

SONDA_1(sin)
SONDA_1(cos)
SONDA_1(tan)
SONDA_1(asin)
SONDA_1(acos)
SONDA_1(atan)
SONDA_1(exp)
SONDA_1(log)
SONDA_1(log10)
SONDA_1(sqrt)
SONDA_1(cbrt)
SONDA_1(floor)
SONDA_1(ceil)
SONDA_1(round)
SONDA_1(trunc)
SONDA_1(nearbyint)
SONDA_2(atan2)
SONDA_2(pow)
SONDA_2(fmod)
SONDA_2(hypot)
SONDA_2(remainder)

extern "C" void sincos(double x, double* s, double* c) noexcept
{
    testsupport::Nota();
    static const auto f = testsupport::Vera<void (*)(double, double*, double*)>("sincos");
    f(x, s, c);
}

extern "C" long lround(double x) noexcept
{
    testsupport::Nota();
    static const auto f = testsupport::Vera<long (*)(double)>("lround");
    return f(x);
}

extern "C" long long llround(double x) noexcept
{
    testsupport::Nota();
    static const auto f = testsupport::Vera<long long (*)(double)>("llround");
    return f(x);
}

extern "C" double frexp(double x, int* e) noexcept
{
    testsupport::Nota();
    static const auto f = testsupport::Vera<double (*)(double, int*)>("frexp");
    return f(x, e);
}

extern "C" double modf(double x, double* i) noexcept
{
    testsupport::Nota();
    static const auto f = testsupport::Vera<double (*)(double, double*)>("modf");
    return f(x, i);
}
