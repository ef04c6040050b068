#pragma once
// What a pass map drawing borrows of the shared state: the body table, the
// scratch slot 201 and the time quantities. The chart computes them for its
// own instants; this guard puts them back when the drawing ends (also on an
// exception), so that a pass search or another window working on slot 201,
// and the tables of a stopped clock, find them as they left them. The
// bodies' chart positions stay: they are what was just drawn.
#include "astro/bodies.h"
#include "astro/records.h"

namespace skysat {

class StatoCondiviso {
public:
    StatoCondiviso();
    ~StatoCondiviso();
    StatoCondiviso(const StatoCondiviso&) = delete;
    StatoCondiviso& operator=(const StatoCondiviso&) = delete;

private:
    mAstro::TabellaCorpi m_corpi;
    Satelement m_elementi;
    RigaDati m_righe;
    Valori m_valori;
};

} // namespace skysat
