#include "core/frequency_table.h"

#include "core/element_parser.h"

#include <algorithm>
#include <numeric>
#include <utility>

TabellaFrequenze::TabellaFrequenze(std::vector<RigaDati> righe)
    : m_righe(std::move(righe))
{
    indicizza();
}

TabellaFrequenze::TabellaFrequenze(std::initializer_list<RigaDati> righe)
    : m_righe(righe)
{
    indicizza();
}

void TabellaFrequenze::assign(std::size_t n, const RigaDati& riga)
{
    m_righe.assign(n, riga);
    indicizza();
}

void TabellaFrequenze::clear()
{
    m_righe.clear();
    indicizza();
}

std::span<const std::size_t> TabellaFrequenze::Righe_Catalogo(long catalogo) const
{
    const auto [da, a] = std::equal_range(m_cataloghi.begin(), m_cataloghi.end(), catalogo);
    return {m_posizioni.data() + (da - m_cataloghi.begin()), std::size_t(a - da)};
}

void TabellaFrequenze::indicizza()
{
    std::vector<std::pair<long, std::size_t>> voci;
    voci.reserve(m_righe.size());
    for (std::size_t i = 1; i < m_righe.size(); ++i) {
        const long c = core::Numero_Catalogo(m_righe[i].Riga0);
        if (c >= 0)
            voci.emplace_back(c, i);
    }
    // Pairs sort by number, then by row: each satellite's rows stay in file order.
    std::sort(voci.begin(), voci.end());
    m_cataloghi.resize(voci.size());
    m_posizioni.resize(voci.size());
    for (std::size_t i = 0; i < voci.size(); ++i) {
        m_cataloghi[i] = voci[i].first;
        m_posizioni[i] = voci[i].second;
    }
}
