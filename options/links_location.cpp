#include "ui/window_links.h"

namespace options {

void Collega_Localita(MDIForm1& /*main*/)
{
}

} // namespace options
