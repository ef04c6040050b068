#include "ui/window_links.h"

namespace predictions {

void Collega_Elenchi(MDIForm1& /*main*/)
{
}

} // namespace predictions
