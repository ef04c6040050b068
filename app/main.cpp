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
#include "platform/vb.h"
#include "shell/language_picker.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"

namespace {

// Started on a virtual display that nobody sees (run.sh without a display
// sets ASTROVELA_VIRTUAL_DISPLAY): a message box there would wait for an
// answer nobody can give and hold the terminal. Each message goes to the
// standard error instead, taken as answered with the button that changes
// nothing (Cancel, No, or OK when it is the only one).
class PromptNonVisto : public platform::Prompt {
public:
    int MsgBox(const QString& text, int flags, const QString& title) override
    {
        int risposta = platform::msgBoxEscapeAnswer(flags);
        if (risposta == 0)
            risposta = platform::msgBoxDefaultAnswer(flags);
        // Shown as a box shows them: an escape sequence in a file or
        // satellite name must not drive the terminal.
        std::fprintf(stderr, "astrovela: %s: %s\n",
                     qPrintable(title.isEmpty() ? platform::applicationTitle() : vb::displayable(title)),
                     qPrintable(platform::msgBoxText(text)));
        if (platform::msgBoxButtons(flags).size() > 1)
            std::fprintf(stderr, "astrovela: (nobody can answer on the virtual display: taken as %s)\n",
                         nomeRisposta(risposta));
        return risposta;
    }

private:
    static const char* nomeRisposta(int r)
    {
        switch (r) {
        case platform::vbOK: return "OK";
        case platform::vbCancel: return "Cancel";
        case platform::vbAbort: return "Abort";
        case platform::vbRetry: return "Retry";
        case platform::vbIgnore: return "Ignore";
        case platform::vbYes: return "Yes";
        case platform::vbNo: return "No";
        default: return "no answer";
        }
    }
};

} // namespace

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
    static PromptNonVisto nonVisto;
    const bool displayVirtuale = qEnvironmentVariableIsSet("ASTROVELA_VIRTUAL_DISPLAY");
    if (displayVirtuale) {
        platform::services().prompt = &nonVisto;
        std::fprintf(stderr, "astrovela: the windows are on the virtual display %s, which nobody sees; "
                             "messages are written here\n",
                     qPrintable(qEnvironmentVariable("DISPLAY", QStringLiteral("(none)"))));
    }

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
                             box ? qPrintable(platform::msgBoxText(box->text())) : "");
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
    avvio.scegliLingua = [displayVirtuale] {
        if (displayVirtuale)
            std::fprintf(stderr, "astrovela: no language is chosen yet: the language picker waits on the "
                                 "virtual display %s\n", qPrintable(qEnvironmentVariable("DISPLAY")));
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
