#include "ui/window_links.h"

namespace charts {

void Collega_Cielo_Generale(MDIForm1& /*main*/)
{
}

} // namespace charts
