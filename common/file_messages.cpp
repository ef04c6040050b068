#include "common/file_messages.h"

#include "core/mlang.h"
#include "platform/prompt.h"

#include <QFileInfo>

namespace common {

void Avvisa_File_Non_Letto(const QString& percorso, const QString& motivo)
{
    if (QFileInfo::exists(percorso))
        platform::MsgBox(motivo, platform::vbExclamation, percorso);
    else
        platform::MsgBox(mLang::Testo_Lingua("frmDatabase", "file") + QLatin1Char(' ') + percorso + QLatin1Char(' ')
                             + mLang::Testo_Lingua("frmDatabase", "nontrovato"),
                         platform::vbExclamation);
}

} // namespace common
