#include "ui/window_links.h"

namespace predictions {

void Collega_Previsioni(MDIForm1& /*main*/)
{
}

} // namespace predictions
