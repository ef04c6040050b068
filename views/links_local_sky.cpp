#include "ui/window_links.h"

namespace views {

void Collega_Cielo_Locale(MDIForm1& /*main*/)
{
}

} // namespace views
