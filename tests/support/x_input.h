#pragma once
// The user's own input on an X display, for the tests that run the program's
// windows there (QT_QPA_PLATFORM=xcb): the pointer moved and clicked and keys
// pressed through the X server's test extension, as xdotool does. The server
// delivers them as it delivers a user's: a click to the window under the
// pointer, a key to the window that holds the keyboard (or, when none does,
// to the one under the pointer). Libraries loaded at run time (libX11 and
// libXtst), so the tests build without their headers.
//
// XServerVirtuale starts an Xvfb of its own on a free display, with no window
// manager or with openbox, for as long as the object lives;
// Riesegui_Sul_Display runs the current test again there, in a process of its
// own. AltroProgramma puts another program's window on the display, for the
// tests of what the program must not take from the others; RispostaConUnClic
// answers each message box with a click, as the user does.
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLibrary>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <sys/prctl.h>
#include <unistd.h>

namespace testsupport {

class InputX {
public:
    // Keys by their X names (keysyms).
    static constexpr unsigned long kEscape = 0xff1b;
    static constexpr unsigned long kInvio = 0xff0d;
    static constexpr unsigned long kDestra = 0xff53;
    static constexpr unsigned long kGiu = 0xff54;
    static constexpr unsigned long kPaginaGiu = 0xff56;
    static constexpr unsigned long kTab = 0xff09;
    static constexpr unsigned long kSpazio = 0x20;
    static constexpr unsigned long kAlt = 0xffe9;
    static constexpr unsigned long kMaiuscolo = 0xffe1;

    // On the display named by $DISPLAY.
    InputX()
    {
        m_x11.setFileNameAndVersion(QStringLiteral("X11"), 6);
        m_xtst.setFileNameAndVersion(QStringLiteral("Xtst"), 6);
        if (!m_x11.load() || !m_xtst.load()) {
            m_errore = QStringLiteral("libX11 or libXtst cannot be loaded: ") + m_x11.errorString() + QLatin1Char(' ')
                + m_xtst.errorString();
            return;
        }
        apri_ = reinterpret_cast<Apri>(m_x11.resolve("XOpenDisplay"));
        chiudi_ = reinterpret_cast<Chiudi>(m_x11.resolve("XCloseDisplay"));
        sincronizza_ = reinterpret_cast<Sincronizza>(m_x11.resolve("XSync"));
        codice_ = reinterpret_cast<Codice>(m_x11.resolve("XKeysymToKeycode"));
        tasto_ = reinterpret_cast<Tasto>(m_xtst.resolve("XTestFakeKeyEvent"));
        bottone_ = reinterpret_cast<Bottone>(m_xtst.resolve("XTestFakeButtonEvent"));
        moto_ = reinterpret_cast<Moto>(m_xtst.resolve("XTestFakeMotionEvent"));
        atomo_ = reinterpret_cast<Atomo>(m_x11.resolve("XInternAtom"));
        radice_ = reinterpret_cast<Radice>(m_x11.resolve("XDefaultRootWindow"));
        manda_ = reinterpret_cast<Manda>(m_x11.resolve("XSendEvent"));
        if (!apri_ || !chiudi_ || !sincronizza_ || !codice_ || !tasto_ || !bottone_ || !moto_ || !atomo_ || !radice_
            || !manda_) {
            m_errore = QStringLiteral("the X test functions are missing");
            return;
        }
        m_display = apri_(nullptr);
        if (!m_display)
            m_errore = QStringLiteral("the display ") + qEnvironmentVariable("DISPLAY") + QStringLiteral(" cannot be opened");
    }
    ~InputX()
    {
        if (m_display)
            chiudi_(m_display);
    }
    InputX(const InputX&) = delete;
    InputX& operator=(const InputX&) = delete;

    bool pronto() const { return m_display != nullptr; }
    QString errore() const { return m_errore; }

    // The key of the letter after "&" in a menu's or a button's text.
    static unsigned long letteraDi(const QString& testo)
    {
        for (qsizetype i = testo.indexOf(u'&'); i >= 0 && i + 1 < testo.size(); i = testo.indexOf(u'&', i + 2))
            if (testo[i + 1] != u'&')
                return testo[i + 1].toLower().unicode();
        return 0;
    }

    // A click of the left button at this point of the screen.
    void clic(QPoint schermo)
    {
        moto_(m_display, -1, schermo.x(), schermo.y(), 0);
        bottone_(m_display, 1, 1, 0);
        bottone_(m_display, 1, 0, 0);
        sincronizza_(m_display, 0);
    }

    // A key pressed and let go, with another (Alt, say) held down meanwhile
    // when one is given.
    void premi(unsigned long keysym, unsigned long tenuto = 0)
    {
        const unsigned int codice = codice_(m_display, keysym);
        const unsigned int codiceTenuto = tenuto ? codice_(m_display, tenuto) : 0;
        if (codiceTenuto)
            tasto_(m_display, codiceTenuto, 1, 0);
        tasto_(m_display, codice, 1, 0);
        tasto_(m_display, codice, 0, 0);
        if (codiceTenuto)
            tasto_(m_display, codiceTenuto, 0, 0);
        sincronizza_(m_display, 0);
    }

    // Asks the window manager to close this top-level window (its X window,
    // as QWidget::winId gives it), as a taskbar's or a pager's Close does.
    void chiudiDaFuori(unsigned long finestra)
    {
        EventoCliente e{};
        e.type = 33; // ClientMessage
        e.send_event = 1;
        e.display = m_display;
        e.window = finestra;
        e.message_type = atomo_(m_display, "_NET_CLOSE_WINDOW", 0);
        e.format = 32;
        e.l[0] = 0; // CurrentTime
        e.l[1] = 2; // from a pager or a taskbar: what the user asked for
        const long maschera = (1L << 19) | (1L << 20); // SubstructureNotify, SubstructureRedirect
        manda_(m_display, radice_(m_display), 0, maschera, &e);
        sincronizza_(m_display, 0);
    }

private:
    // Xlib's XClientMessageEvent, within the 24 longs of an XEvent.
    struct EventoCliente {
        int type;
        unsigned long serial;
        int send_event;
        void* display;
        unsigned long window;
        unsigned long message_type;
        int format;
        long l[5];
        long resto[12];
    };
    static_assert(sizeof(EventoCliente) == 24 * sizeof(long));

    using Apri = void* (*)(const char*);
    using Chiudi = int (*)(void*);
    using Sincronizza = int (*)(void*, int);
    using Codice = unsigned char (*)(void*, unsigned long);
    using Tasto = int (*)(void*, unsigned int, int, unsigned long);
    using Bottone = int (*)(void*, unsigned int, int, unsigned long);
    using Moto = int (*)(void*, int, int, int, unsigned long);
    using Atomo = unsigned long (*)(void*, const char*, int);
    using Radice = unsigned long (*)(void*);
    using Manda = int (*)(void*, unsigned long, int, long, void*);

    QLibrary m_x11;
    QLibrary m_xtst;
    QString m_errore;
    void* m_display = nullptr;
    Apri apri_ = nullptr;
    Chiudi chiudi_ = nullptr;
    Sincronizza sincronizza_ = nullptr;
    Codice codice_ = nullptr;
    Tasto tasto_ = nullptr;
    Bottone bottone_ = nullptr;
    Moto moto_ = nullptr;
    Atomo atomo_ = nullptr;
    Radice radice_ = nullptr;
    Manda manda_ = nullptr;
};

// A window manager on the display, or none: without one (a virtual display
// of run.sh, most test displays) nothing gives a window the keyboard but the
// program itself; openbox stands for the desktops users have, which give it
// to the window clicked or shown, and take it to another program's.
enum class Gestore { Nessuno, Openbox };

class XServerVirtuale {
public:
    explicit XServerVirtuale(Gestore gestore = Gestore::Nessuno)
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            return;
        // Xvfb picks a free display and writes its number on the given
        // descriptor once it takes connections. It ends with the test, also
        // when the test is killed.
        m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                              QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp")});
        if (!m_server.waitForStarted(10000))
            return;
        QByteArray numero;
        while (!numero.contains('\n') && m_server.waitForReadyRead(10000))
            numero += m_server.readAllStandardOutput();
        numero = numero.trimmed();
        if (numero.isEmpty())
            return;
        const QString display = QLatin1Char(':') + QString::fromLatin1(numero);
        if (gestore == Gestore::Openbox && !avviaOpenbox(display))
            return;
        m_display = display;
    }
    ~XServerVirtuale()
    {
        for (QProcess* p : {&m_gestore, &m_server}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(5000))
                    p->kill();
            }
        }
    }
    XServerVirtuale(const XServerVirtuale&) = delete;
    XServerVirtuale& operator=(const XServerVirtuale&) = delete;

    static bool installato() { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }
    static bool openboxInstallato() { return !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty(); }
    // ":N", or empty when the server (or its window manager) did not start.
    QString display() const { return m_display; }

private:
    // Openbox with its own settings (not the user's), ready once it runs the
    // command it is given to run after its start.
    bool avviaOpenbox(const QString& display)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configurazione.path());
        m_gestore.setProcessEnvironment(env);
        m_gestore.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_gestore.start(QStandardPaths::findExecutable(QStringLiteral("openbox")),
                        {QStringLiteral("--sm-disable"), QStringLiteral("--startup"), QStringLiteral("echo pronto")});
        if (!m_gestore.waitForStarted(10000))
            return false;
        QByteArray uscita;
        while (!uscita.contains("pronto") && m_gestore.waitForReadyRead(10000))
            uscita += m_gestore.readAllStandardOutput();
        return uscita.contains("pronto");
    }

    QProcess m_server;
    QProcess m_gestore;
    QTemporaryDir m_configurazione;
    QString m_display;
};

// The running test once more, in a process of its own on this display with
// the xcb platform and the variable set to the value (which the test reads
// to know that it is the run on the display, and what to do there). True
// when it passed; its output in any case.
inline bool Riesegui_Sul_Display(const QString& display, const char* variabile, const QByteArray& valore,
                                 QByteArray* uscita)
{
    const auto* prova = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filtro = QStringLiteral("--gtest_filter=%1.%2").arg(prova->test_suite_name(), prova->name());
    QProcess processo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QString::fromLatin1(variabile), QString::fromLatin1(valore));
    // Under AddressSanitizer: the X keyboard library copies a keymap name
    // with strndup from a buffer not ended by NUL, which the strict string
    // check takes for an overflow; it is not ours.
    if (env.contains(QStringLiteral("ASAN_OPTIONS")))
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":strict_string_checks=0"));
    processo.setProcessEnvironment(env);
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.start(QCoreApplication::applicationFilePath(), {filtro});
    const bool finito = processo.waitForFinished(120000);
    if (!finito) {
        processo.kill();
        processo.waitForFinished(5000);
    }
    *uscita = processo.readAll();
    if (!finito)
        uscita->append("\n(still running after two minutes: ended)");
    return finito && processo.exitStatus() == QProcess::NormalExit && processo.exitCode() == 0
        && uscita->contains("[  PASSED  ] 1 test");
}

// The running test once more for each value, each in a process of its own,
// on one display started for them, without a window manager or with
// openbox; skipped where Xvfb (or openbox) is missing. With
// ASTROVELA_X_OPENBOX=1 in the environment, the cases meant for a display
// without a window manager run with openbox as well, so that a rule for
// every window can be checked under both.
inline void Riesegui_Per_Ogni(const char* variabile, std::initializer_list<const char*> valori,
                              Gestore gestore = Gestore::Nessuno)
{
    if (qEnvironmentVariable("ASTROVELA_X_OPENBOX") == QLatin1String("1"))
        gestore = Gestore::Openbox;
    if (!XServerVirtuale::installato())
        GTEST_SKIP() << "Xvfb is not installed (tools/install-deps.sh installs it): this test needs an X display";
    if (gestore == Gestore::Openbox && !XServerVirtuale::openboxInstallato())
        GTEST_SKIP() << "openbox is not installed (tools/install-deps.sh installs it): this test needs a window "
                        "manager on its X display";
    XServerVirtuale server(gestore);
    ASSERT_FALSE(server.display().isEmpty())
        << (gestore == Gestore::Openbox ? "Xvfb or openbox did not start" : "Xvfb did not start");
    for (const char* valore : valori) {
        SCOPED_TRACE(valore);
        QByteArray uscita;
        EXPECT_TRUE(Riesegui_Sul_Display(server.display(), variabile, valore, &uscita)) << uscita.toStdString();
    }
}

// ---------------------------------------------------------------- another program

// Another program on the same display: a window of its own with a text field,
// which a test process starts from its own binary (qt_test_main runs
// Altro_Programma instead of the tests when the variable is set). It tells
// on its standard output where its field is, when its window gains or loses
// the keyboard and what is typed into it; it ends when its standard input
// closes.
inline constexpr const char* kAltroProgramma = "ASTROVELA_ALTRO_PROGRAMMA";

inline int Altro_Programma()
{
    QWidget finestra;
    finestra.setWindowTitle(QStringLiteral("Another program"));
    auto* campo = new QLineEdit(&finestra);
    campo->setGeometry(10, 10, 280, 30);
    finestra.resize(300, 50);
    const QStringList dove = qEnvironmentVariable(kAltroProgramma).split(u',');
    if (dove.size() == 2)
        finestra.move(dove[0].toInt(), dove[1].toInt());
    const auto scrivi = [](const QByteArray& riga) {
        std::fwrite(riga.constData(), 1, size_t(riga.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    struct Attivazione : QObject {
        std::function<void(bool)> avviso;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::ActivationChange && o->isWidgetType())
                avviso(static_cast<QWidget*>(o)->isActiveWindow());
            return false;
        }
    } attivazione;
    attivazione.avviso = [&](bool attiva) { scrivi(attiva ? "attivo 1" : "attivo 0"); };
    finestra.installEventFilter(&attivazione);
    QObject::connect(campo, &QLineEdit::textChanged, [&](const QString& t) { scrivi("testo " + t.toUtf8()); });
    QSocketNotifier ingresso(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&ingresso, &QSocketNotifier::activated, [&] {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0)
            QApplication::quit();
    });
    finestra.show();
    campo->setFocus();
    QTimer::singleShot(0, [&] {
        // Once placed by the window manager.
        QTimer::singleShot(300, [&] {
            const QPoint centro = campo->mapToGlobal(campo->rect().center());
            scrivi(QStringLiteral("campo %1 %2").arg(centro.x()).arg(centro.y()).toUtf8());
        });
    });
    QTimer::singleShot(120000, [] { QApplication::quit(); });
    return QApplication::exec();
}

class AltroProgramma {
public:
    // Started on $DISPLAY with its window at this point of the screen.
    explicit AltroProgramma(QPoint dove)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kAltroProgramma), QStringLiteral("%1,%2").arg(dove.x()).arg(dove.y()));
        m_processo.setProcessEnvironment(env);
        m_processo.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        QObject::connect(&m_processo, &QProcess::readyReadStandardOutput, [this] { leggi(); });
        m_processo.start(QCoreApplication::applicationFilePath(), {});
    }
    ~AltroProgramma()
    {
        m_processo.closeWriteChannel();
        if (!m_processo.waitForFinished(5000)) {
            m_processo.kill();
            m_processo.waitForFinished(5000);
        }
    }
    AltroProgramma(const AltroProgramma&) = delete;
    AltroProgramma& operator=(const AltroProgramma&) = delete;

    // What it has told so far (the event loop must run for it to be read).
    bool pronto() const { return !m_campo.isNull(); }
    QPoint campo() const { return m_campo; } // the middle of its text field, on the screen
    bool attivo() const { return m_attivo; }
    QString testo() const { return m_testo; }

private:
    void leggi()
    {
        m_resto += m_processo.readAllStandardOutput();
        qsizetype fine;
        while ((fine = m_resto.indexOf('\n')) >= 0) {
            const QString riga = QString::fromUtf8(m_resto.left(fine));
            m_resto.remove(0, fine + 1);
            if (riga.startsWith(QLatin1String("campo "))) {
                const QStringList p = riga.split(u' ');
                m_campo = QPoint(p.value(1).toInt(), p.value(2).toInt());
            } else if (riga.startsWith(QLatin1String("attivo "))) {
                m_attivo = riga.endsWith(u'1');
            } else if (riga.startsWith(QLatin1String("testo "))) {
                m_testo = riga.mid(6);
            }
        }
    }

    QProcess m_processo;
    QByteArray m_resto;
    QPoint m_campo;
    bool m_attivo = false;
    QString m_testo;
};

// ---------------------------------------------------------------- messages

// The window shown at the top left of the display, at this size, holding the
// keyboard as after the user's last click on it (false when it never shows
// or never becomes active).
[[nodiscard]] inline bool Davanti_Con_La_Tastiera(QWidget& finestra, QSize dimensione)
{
    finestra.resize(dimensione);
    finestra.move(0, 0);
    finestra.show();
    if (!QTest::qWaitForWindowExposed(&finestra))
        return false;
    finestra.activateWindow();
    return QTest::qWaitForWindowActive(&finestra);
}

// The workspace's window in front, over the others, with the keyboard on it
// or on one of its controls.
inline ::testing::AssertionResult Davanti_Nell_Area(QMdiArea* area, QMdiSubWindow* finestra)
{
    QMdiSubWindow* attiva = area->activeSubWindow();
    if (attiva != finestra)
        return ::testing::AssertionFailure()
            << "in front: " << (attiva ? attiva->widget()->objectName().toStdString() : std::string("none"));
    if (area->subWindowList(QMdiArea::StackingOrder).last() != finestra)
        return ::testing::AssertionFailure() << "active, but another window covers it";
    QWidget* fuoco = QApplication::focusWidget();
    if (!fuoco || (fuoco != finestra && !finestra->isAncestorOf(fuoco)))
        return ::testing::AssertionFailure()
            << "the keyboard is on " << (fuoco ? fuoco->metaObject()->className() : "nothing");
    return ::testing::AssertionSuccess();
}

// Answers each modal window, once it shows on the display, with a click on
// the button a user would press: a message box's OK; for any other, the
// button `scelta` gives (none: it is left alone). The text of each box
// answered is kept in `messaggi`, in order.
class RispostaConUnClic {
public:
    using Scelta = std::function<QWidget*(QWidget* modale, QStringList& messaggi)>;

    explicit RispostaConUnClic(InputX& x, Scelta scelta = {}) : m_x(x), m_scelta(std::move(scelta))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { guarda(); });
        m_timer.start(100);
    }
    void ferma() { m_timer.stop(); }

    QStringList messaggi;

private:
    void guarda()
    {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m->property("risposto").toBool() || !m->windowHandle() || !m->windowHandle()->isExposed())
            return;
        QWidget* bottone = nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(m)) {
            bottone = box->button(QMessageBox::Ok);
            if (bottone)
                messaggi << box->text();
        } else if (m_scelta) {
            bottone = m_scelta(m, messaggi);
        }
        if (!bottone)
            return;
        m->setProperty("risposto", true);
        m_x.clic(bottone->mapToGlobal(bottone->rect().center()));
    }

    InputX& m_x;
    Scelta m_scelta;
    QTimer m_timer;
};

// While the user is away in another program: a modal window of ours that
// comes up would take the keys. Watched every 50 ms once started: its text is
// noted (a message box's, "?" for another window) and it is closed.
class MessaggiPresi {
public:
    MessaggiPresi()
    {
        m_timer.setInterval(50);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m || !m->isVisible())
                return;
            QTest::qWait(500);
            auto* scatola = qobject_cast<QMessageBox*>(m);
            preso = scatola ? scatola->text() : QStringLiteral("?");
            m->close();
        });
    }
    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    QString preso; // the last one taken, empty when none came

private:
    QTimer m_timer;
};

} // namespace testsupport
