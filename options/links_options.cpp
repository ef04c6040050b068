#include "ui/window_links.h"

namespace options {

void Collega_Opzioni(MDIForm1& /*main*/)
{
}

} // namespace options
