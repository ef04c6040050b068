// The state of the vector registers' upper halves.
//
// Code compiled for AVX that ends without clearing the upper halves of the
// vector registers (some of what the window system runs at start-up and
// when it paints does) leaves them "in use". On the Intel processors of the
// last years every legacy SSE instruction, which is what our number code
// is made of, then waits on those halves: the same computation runs five to
// eight times slower, and threads started from that state inherit it.
// Clearing them (the AVX instruction vzeroupper) costs about a cycle and
// changes no value; processors without AVX have no such state and do
// nothing.
//
// Every entry point of the computation (a satellite's state, the light
// evaluation, the pass search, the clock tick's bodies, the Sun's and the
// Moon's rise and set) calls
// Azzera_Meta_Alte first, so no caller can forget it and no earlier code
// can slow it down.
#pragma once

#include <optional>

namespace astro {

namespace dettaglio {
// The processor and the system support AVX (known before main starts).
extern const bool kAvx;
void Vzeroupper();
} // namespace dettaglio

// Clears the upper halves of the vector registers where the processor has
// them; nothing elsewhere.
inline void Azzera_Meta_Alte()
{
    if (dettaglio::kAvx)
        dettaglio::Vzeroupper();
}

// Whether the upper halves are in use now in this thread; nothing when the
// processor cannot tell (no AVX, or no way to read the state).
std::optional<bool> Meta_Alte_In_Uso();

// Leaves the upper halves in use, as foreign AVX code may (for tests and
// benchmarks); false, doing nothing, without AVX.
bool Occupa_Meta_Alte();

} // namespace astro
