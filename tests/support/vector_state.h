#pragma once
// The vector registers' upper halves for the tests of astro/vector_state.h:
// left in use, and read back.
#include "astro/vector_state.h"

namespace testsupport {

// Whether the upper halves are in use now (false where nobody can tell).
inline bool Meta_Alte_In_Uso()
{
    return astro::Meta_Alte_In_Uso().value_or(false);
}

// Leaves the upper halves in use; false where this processor has none, or
// shows their state without following it (as an emulator may).
inline bool Occupa_Meta_Alte()
{
    static const bool segue = astro::Occupa_Meta_Alte() && Meta_Alte_In_Uso()
        && (astro::Azzera_Meta_Alte(), !Meta_Alte_In_Uso());
    return segue && astro::Occupa_Meta_Alte() && Meta_Alte_In_Uso();
}

} // namespace testsupport
