// The computer's own time zone (TZ) switched for the length of a scope: the
// program's times carry their own zone, and the computer's, with its
// daylight-saving changes, must not leak into them.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

namespace testsupport {

class FusoComputer {
public:
    explicit FusoComputer(const char* zona) : m_prima(qgetenv("TZ"))
    {
        qputenv("TZ", zona);
        tzset();
    }
    ~FusoComputer()
    {
        if (m_prima.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_prima);
        tzset();
    }
    FusoComputer(const FusoComputer&) = delete;
    FusoComputer& operator=(const FusoComputer&) = delete;

private:
    QByteArray m_prima;
};

} // namespace testsupport
