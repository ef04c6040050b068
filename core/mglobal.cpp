#include "core/mglobal.h"

#include "platform/network_check.h"
#include "platform/services.h"
#include "platform/time_zone_info.h"

#include <QMetaObject>
#include <QPointer>
#include <cmath>

namespace mGlobal {

namespace {

struct Windows {
    QList<QPointer<QObject>> registered;
    std::function<QList<QObject*>()> lister;
};

Windows& windows()
{
    static Windows w;
    return w;
}

bool isNamed(const QObject* o, const QString& name)
{
    if (!o)
        return false;
    return QString::compare(QLatin1String(o->metaObject()->className()), name,
                            Qt::CaseInsensitive) == 0 ||
           o->objectName().compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

bool Form_Aperta(const QString& name)
{
    if (name.isEmpty())
        return false;
    Windows& w = windows();
    w.registered.removeIf([](const QPointer<QObject>& p) { return p.isNull(); });
    for (const QPointer<QObject>& p : std::as_const(w.registered))
        if (isNamed(p.data(), name))
            return true;
    if (w.lister)
        for (const QObject* o : w.lister())
            if (isNamed(o, name))
                return true;
    return false;
}

void Registra_Finestra(QObject* window)
{
    if (!window)
        return;
    Windows& w = windows();
    for (const QPointer<QObject>& p : std::as_const(w.registered))
        if (p == window)
            return;
    w.registered.append(window);
}

void Imposta_Elenco_Finestre(std::function<QList<QObject*>()> lister)
{
    windows().lister = std::move(lister);
}

bool Leggi_Fuso_Orario(float& bias, bool& daylight)
{
    const platform::TimeZoneInfo* tz = platform::services().timeZone;
    const std::optional<platform::TimeZoneState> state = tz ? tz->current() : std::nullopt;
    if (!state) {
        bias = 0;
        return false;
    }
    bias = static_cast<float>(state->biasMinutes);
    daylight = state->daylight;
    return true;
}

QString Nome_File_Da_URL(const QString& url)
{
    const qsizetype slash = url.lastIndexOf(u'/');
    return slash < 0 ? url : url.mid(slash + 1);
}

bool Connessione_Internet()
{
    const platform::NetworkCheck* net = platform::services().network;
    return net && net->isConnected();
}

QString Formatta_Durata(float seconds)
{
    // Not a number, or too long to mean anything (a speed of almost nothing).
    if (std::isnan(seconds) || std::isinf(seconds) || seconds >= 1e15f)
        return {};
    const double d = seconds > 0 ? std::floor(double(seconds)) : 0.0;
    double m = std::floor(d / 60);
    const double s = d - 60 * m;
    const double h = std::floor(m / 60);
    m -= 60 * h;
    const auto two = [](double v) { return QStringLiteral("%1").arg(qint64(v), 2, 10, QLatin1Char('0')); };
    return two(h) + u':' + two(m) + u':' + two(s);
}

} // namespace mGlobal
