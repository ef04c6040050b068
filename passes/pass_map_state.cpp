#include "passes/pass_map_state.h"

#include "core/clock.h"
#include "core/globals.h"
#include "core/mastro.h"

namespace skysat {

StatoCondiviso::StatoCondiviso()
    : m_corpi(gudtCorpi), m_elementi(gudtSatelementi[kSlotScratch]), m_righe(gudtRigheAttive[kSlotScratch]),
      m_valori(gudtValori[kSlotScratch])
{
}

StatoCondiviso::~StatoCondiviso()
{
    for (std::size_t i = 0; i < m_corpi.size(); ++i) {
        const float x = gudtCorpi[i].XMappa;
        const float y = gudtCorpi[i].YMappa;
        gudtCorpi[i] = m_corpi[i];
        gudtCorpi[i].XMappa = x;
        gudtCorpi[i].YMappa = y;
    }
    gudtSatelementi[kSlotScratch] = m_elementi;
    gudtRigheAttive[kSlotScratch] = m_righe;
    gudtValori[kSlotScratch] = m_valori;
    if (gdatDataCorrente.isValid())
        mAstro::Aggiorna_Tempo(gdatDataCorrente);
}

} // namespace skysat
