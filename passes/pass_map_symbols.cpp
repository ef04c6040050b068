#include "passes/pass_map_symbols.h"

#include "platform/vb.h"

namespace passes {

QString Data_Generale(const QDateTime& d)
{
    return vb::displayLocale().toString(d.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           vb::Format(d, u"Long Time");
}

} // namespace passes
