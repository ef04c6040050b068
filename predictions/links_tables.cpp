#include "ui/window_links.h"

namespace predictions {

void Collega_Tabelle(MDIForm1& /*main*/)
{
}

} // namespace predictions
