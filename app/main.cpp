#include <QApplication>
#include <QTimer>

#include "ui/mdiform1.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Astrovela"));
    MDIForm1 w;
    w.show();

    // Smoke tests ask the program to close itself after the given milliseconds.
    bool ok = false;
    const int quitMs = qEnvironmentVariableIntValue("ASTROVELA_SMOKE_QUIT_MS", &ok);
    if (ok && quitMs > 0)
        QTimer::singleShot(quitMs, &w, [&w] { w.close(); });
    return app.exec();
}
