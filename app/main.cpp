#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <clocale>
#include <csignal>
#include <cstdio>

#include "common/program_icon.h"
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
    // QApplication takes the C library's locale from the desktop; its
    // number part stays C, so that no reading or writing of numbers through
    // the C library meets a decimal comma (the user's texts follow the
    // display locale).
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Astrovela"));
    QApplication::setApplicationVersion(core::Versione_Completa());
    // The installed desktop entry (for the window's icon on Wayland), and
    // the same icon for every window on any desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral(ASTROVELA_APP_ID));
    common::Imposta_Icona_Programma();
    platform::setApplicationTitle(QStringLiteral("Astrovela"));
    platform::installRealServices();

    // Smoke tests ask the program to close itself after the given
    // milliseconds (a dialog still open at that moment is closed first).
    // What it closes is written on the standard error.
    bool ok = false;
    const int quitMs = qEnvironmentVariableIntValue("ASTROVELA_SMOKE_QUIT_MS", &ok);
    if (ok && quitMs > 0) {
        QTimer::singleShot(quitMs, &app, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                const auto* box = qobject_cast<QMessageBox*>(modal);
                std::fprintf(stderr, "astrovela: closing the dialog %s%s%s\n",
                             modal->metaObject()->className(), box ? ": " : "",
                             box ? qPrintable(box->text()) : "");
                modal->close();
            }
            if (MDIForm1* w = MDIForm1::instance()) {
                std::fprintf(stderr, "astrovela: closing the main window\n");
                w->close();
            } else {
                QApplication::quit();
            }
        });
    }

    platform::SingleInstance istanza;
    core::Avvio avvio;
    // Beside the executable (a build), else where an installation puts them.
    const core::CartellaProgramma programma = core::Trova_Cartella_Programma(
        QCoreApplication::applicationDirPath(), QStringLiteral(ASTROVELA_INSTALLED_DATA));
    avvio.cartellaProgramma = programma.scelta;
    avvio.cartelleCercate = programma.cercate;
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
