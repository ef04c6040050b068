#pragma once
// The radio frequency table (frequen.dat) with its index by catalogue number.
//
// Rows are numbered from 1 in file order; row 0 exists and is never filled.
// The table can only be filled whole (loaded, assigned or reset), and the
// index is rebuilt each time, so looking up a satellite's channels costs a
// search in the index instead of reading every row's catalogue number again.
#include "astro/records.h"

#include <cstddef>
#include <initializer_list>
#include <span>
#include <vector>

class TabellaFrequenze {
public:
    TabellaFrequenze() = default;
    // A table of these rows (row 0 included). Not explicit: a plain list of
    // rows can be passed wherever a table is read.
    TabellaFrequenze(std::vector<RigaDati> righe);
    TabellaFrequenze(std::initializer_list<RigaDati> righe);

    void assign(std::size_t n, const RigaDati& riga);
    void clear();

    const RigaDati& operator[](std::size_t i) const { return m_righe[i]; }
    std::size_t size() const { return m_righe.size(); }
    bool empty() const { return m_righe.empty(); }
    std::vector<RigaDati>::const_iterator begin() const { return m_righe.begin(); }
    std::vector<RigaDati>::const_iterator end() const { return m_righe.end(); }
    const std::vector<RigaDati>& righe() const { return m_righe; }

    // The rows (1 .. size()-1) whose catalogue number text has the value
    // `catalogo` ("00694" and "694" alike), in file order. Rows whose text is
    // not a whole number belong to no satellite.
    std::span<const std::size_t> Righe_Catalogo(long catalogo) const;

private:
    void indicizza();

    std::vector<RigaDati> m_righe;
    // Catalogue numbers of the indexed rows in ascending order, and the row
    // of each; rows of one number follow in file order.
    std::vector<long> m_cataloghi;
    std::vector<std::size_t> m_posizioni;
};
