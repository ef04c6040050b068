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

} // namespace platform
