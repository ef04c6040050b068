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
// manager, for as long as the object lives; Riesegui_Sul_Display runs the
// current test again there, in a process of its own.
#include <QCoreApplication>
#include <QLibrary>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

#include <csignal>
#include <initializer_list>
#include <sys/prctl.h>

namespace testsupport {

class InputX {
public:
    // Keys by their X names (keysyms).
    static constexpr unsigned long kEscape = 0xff1b;
    static constexpr unsigned long kInvio = 0xff0d;
    static constexpr unsigned long kDestra = 0xff53;
    static constexpr unsigned long kAlt = 0xffe9;

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
        if (!apri_ || !chiudi_ || !sincronizza_ || !codice_ || !tasto_ || !bottone_ || !moto_) {
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

private:
    using Apri = void* (*)(const char*);
    using Chiudi = int (*)(void*);
    using Sincronizza = int (*)(void*, int);
    using Codice = unsigned char (*)(void*, unsigned long);
    using Tasto = int (*)(void*, unsigned int, int, unsigned long);
    using Bottone = int (*)(void*, unsigned int, int, unsigned long);
    using Moto = int (*)(void*, int, int, int, unsigned long);

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
};

class XServerVirtuale {
public:
    XServerVirtuale()
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
        if (!numero.isEmpty())
            m_display = QLatin1Char(':') + QString::fromLatin1(numero);
    }
    ~XServerVirtuale()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }
    XServerVirtuale(const XServerVirtuale&) = delete;
    XServerVirtuale& operator=(const XServerVirtuale&) = delete;

    static bool installato() { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }
    // ":N", or empty when the server did not start.
    QString display() const { return m_display; }

private:
    QProcess m_server;
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
// on one display without a window manager started for them; skipped where
// Xvfb is missing.
inline void Riesegui_Per_Ogni(const char* variabile, std::initializer_list<const char*> valori)
{
    if (!XServerVirtuale::installato())
        GTEST_SKIP() << "Xvfb is not installed (tools/install-deps.sh installs it): this test needs an X display "
                        "without a window manager";
    XServerVirtuale server;
    ASSERT_FALSE(server.display().isEmpty()) << "Xvfb did not start";
    for (const char* valore : valori) {
        SCOPED_TRACE(valore);
        QByteArray uscita;
        EXPECT_TRUE(Riesegui_Sul_Display(server.display(), variabile, valore, &uscita)) << uscita.toStdString();
    }
}

} // namespace testsupport
