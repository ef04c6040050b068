#include "ui/window_links.h"

namespace views {

void Collega_Mappa_Mondo(MDIForm1& /*main*/)
{
}

} // namespace views
