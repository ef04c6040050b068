#include <QApplication>
#include <QTimer>

#include <csignal>

#include "core/mlang.h"
#include "core/startup.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/single_instance.h"
#include "shell/language_picker.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"

int main(int argc, char** argv)
{
    // Under a file-size limit a save fails with "File too large" and the old
    // file stays, as on a full disk, instead of the program being killed.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Astrovela"));
    QApplication::setApplicationVersion(core::Versione_Completa());
    platform::setApplicationTitle(QStringLiteral("Astrovela"));
    platform::installRealServices();

    // Smoke tests ask the program to close itself after the given
    // milliseconds (a dialog still open at that moment is closed first).
    bool ok = false;
    const int quitMs = qEnvironmentVariableIntValue("ASTROVELA_SMOKE_QUIT_MS", &ok);
    if (ok && quitMs > 0) {
        QTimer::singleShot(quitMs, &app, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            if (MDIForm1* w = MDIForm1::instance())
                w->close();
            else
                QApplication::quit();
        });
    }

    platform::SingleInstance istanza;
    core::Avvio avvio;
    avvio.cartellaProgramma = QCoreApplication::applicationDirPath();
    avvio.cartellaUtente = core::Cartella_Dati_Utente();
    avvio.istanza = &istanza;
    avvio.scegliLingua = [] {
        frmLanguage picker(mLang::Cartella_Programma());
        picker.exec();
    };
    if (!core::MDIForm_Initialize(avvio))
        return 0;
    if (const QString mancanti = mLang::Rapporto_Chiavi_Mancanti(); !mancanti.isEmpty())
        qWarning("%s", qPrintable(mancanti));

    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.setCartellaUtente(avvio.cartellaUtente);
    if (!w.MDIForm_Load())
        return 1;
    return app.exec();
}
