// The C library's number locale switched, for the length of a scope, to one
// whose decimal point is a comma (as QApplication leaves it on an Italian
// desktop): what the program reads and writes must not follow it.
#pragma once

#include <clocale>
#include <string>

namespace testsupport {

class NumeriConVirgola {
public:
    NumeriConVirgola()
    {
        if (const char* c = std::setlocale(LC_NUMERIC, nullptr))
            m_prima = c;
        for (const char* nome : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            if (std::setlocale(LC_NUMERIC, nome)) {
                m_pronto = std::localeconv()->decimal_point[0] == ',';
                break;
            }
    }
    ~NumeriConVirgola() { std::setlocale(LC_NUMERIC, m_prima.c_str()); }
    NumeriConVirgola(const NumeriConVirgola&) = delete;
    NumeriConVirgola& operator=(const NumeriConVirgola&) = delete;

    // False when this machine has no such locale (tools/install-deps.sh
    // makes it_IT.UTF-8).
    bool pronto() const { return m_pronto; }

private:
    std::string m_prima = "C";
    bool m_pronto = false;
};

inline constexpr const char* kSenzaVirgola =
    "no locale with a decimal comma on this machine: tools/install-deps.sh makes it_IT.UTF-8";

} // namespace testsupport
