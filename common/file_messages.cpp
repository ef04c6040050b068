#include "common/file_messages.h"

#include "core/mlang.h"
#include "platform/prompt.h"
#include "platform/vb.h"

#include <QFileInfo>

namespace common {

void Avvisa_File_Non_Letto(const QString& percorso, const QString& motivo)
{
    // Also a file in a folder the user may not look into is there: the
    // reader's reason, not "not found".
    if (!vb::fileMissing(percorso))
        platform::MsgBox(motivo, platform::vbExclamation, percorso);
    else
        platform::MsgBox(mLang::Testo_Lingua("frmDatabase", "file") + QLatin1Char(' ') + percorso + QLatin1Char(' ')
                             + mLang::Testo_Lingua("frmDatabase", "nontrovato"),
                         platform::vbExclamation);
}

} // namespace common
