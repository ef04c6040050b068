#include "common/window_calls.h"

#include <QApplication>
#include <QWidget>

namespace common {

CartaStellare* Carta_Aperta(CartaStellare::Tipo tipo)
{
    for (QWidget* w : QApplication::allWidgets())
        if (auto* carta = dynamic_cast<CartaStellare*>(w); carta && carta->Tipo_Carta() == tipo)
            return carta;
    return nullptr;
}

} // namespace common
