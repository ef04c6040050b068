#include "platform/language_texts.h"

namespace platform {

namespace {
TextLookup& lookup()
{
    static TextLookup l = nullptr;
    return l;
}
} // namespace

void setTextLookup(TextLookup l)
{
    lookup() = l;
}

QString Testo_Lingua(const QString& section, const QString& key)
{
    return lookup() ? lookup()(section, key) : QString();
}

QString Testo_Motivo(const QString& section, const QString& key, const QStringList& values)
{
    const QString t = Testo_Lingua(section, key);
    if (t.isEmpty())
        return (key + QLatin1Char(' ') + values.join(QLatin1Char(' '))).trimmed();
    if (values.isEmpty())
        return t;
    if (!t.contains(QLatin1String("%1")))
        return t + QLatin1Char(' ') + values.join(QLatin1Char(' '));
    if (values.size() == 1)
        return t.arg(values[0]);
    return t.arg(values[0], values[1]);
}

} // namespace platform
