#include "common/program_icon.h"

#include <QApplication>

static void Registra_Icona()
{
    Q_INIT_RESOURCE(program_icon);
}

namespace common {

QIcon Icona_Programma()
{
    Registra_Icona();
    QIcon icona;
    for (int lato : {16, 24, 32, 48, 64, 128, 256})
        icona.addFile(QStringLiteral(":/icona/%1.png").arg(lato), QSize(lato, lato));
    return icona;
}

void Imposta_Icona_Programma()
{
    QApplication::setWindowIcon(Icona_Programma());
}

} // namespace common
