#include "common/help.h"

#include "core/mlang.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"

void Mostra_Aiuto(int contesto, QWidget* owner)
{
    platform::HelpService* help = platform::services().help;
    if (!help || !help->showContext(contesto, owner))
        platform::MsgBox(mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("nofilehelp")),
                         platform::vbInformation);
}
