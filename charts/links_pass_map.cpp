#include "ui/window_links.h"

namespace charts {

void Collega_Mappa_Passaggio(MDIForm1& /*main*/)
{
}

} // namespace charts
