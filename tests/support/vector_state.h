#pragma once
// The vector registers' upper halves (astro/vector_state.h) as the tests see
// them, found out without the code under test: the processor is asked
// directly, the halves are left in use by an AVX instruction of the test's
// own, and their state is read inside the computation, when it first calls a
// C maths function (sin, cos, floor...): the test programs that use this
// define those functions themselves, note the state and hand on to the C
// library's own. The computation's own code runs before that call, and the C
// library's own maths functions may clear the halves on their way out, so
// what is read there is what the computation started with.
#include <functional>
#include <optional>
#include <vector>

namespace testsupport {

// This processor and system keep the upper halves, show their state
// (XGETBV with ECX = 1), and show an AVX instruction of ours leave them in
// use and a vzeroupper of ours clear them. Nothing else below means
// anything where this is false (no AVX, or an emulator that does not follow
// the state).
bool Stato_Visibile();

// In use now, in this thread.
bool Meta_Alte_In_Uso();

// Leaves them in use, as a window's painting or foreign AVX code may.
void Occupa_Meta_Alte();

// Notes, in this thread, the state of the halves at the first C maths
// function called after each Prossima().
class Sonda {
public:
    Sonda();
    ~Sonda();
    Sonda(const Sonda&) = delete;
    Sonda& operator=(const Sonda&) = delete;

    // The next maths function this thread calls notes the state (once).
    void Prossima();
    // What was noted, in order: true where the halves were in use.
    const std::vector<bool>& note() const { return m_note; }

private:
    friend void Annota(bool);
    std::vector<bool> m_note;
};

// The state of the halves when `calcolo`, started with them in use, first
// calls a C maths function in this thread; nothing when it calls none.
std::optional<bool> In_Uso_Entrando(const std::function<void()>& calcolo);

} // namespace testsupport
