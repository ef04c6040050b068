#include "common/progress_window.h"

#include "common/window_host.h"

#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "core/clock.h"
#include "platform/prompt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include <optional>

namespace {

QPointer<frmProgress> g_istanza;
// A task runs from Mostra to Unload: Close all and the end of the program
// wait for it to stop before they close its windows.
std::optional<common::Attivita> g_attivita;
QElapsedTimer g_ultimiEventi;
constexpr qint64 kIntervalloEventi = 30; // ms between two runs of pending events

QWidget* finestraPrincipale()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow"))
            return w;
    return nullptr;
}

} // namespace

frmProgress::frmProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmProgress"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* l = new QVBoxLayout(this);
    lblTask = new QLabel(QStringLiteral("Task"), this);
    lblTask->setObjectName(QStringLiteral("lblTask"));
    lblTask->setTextFormat(Qt::PlainText);
    ProgressBar1 = new ProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setMinimumSize(320, 22);
    cmdCancel = new GraphButton(QStringLiteral("&Stop"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setCancel(true);
    cmdCancel->setMinimumSize(90, 26);
    l->addWidget(lblTask);
    l->addWidget(ProgressBar1);
    l->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    connect(cmdCancel, &GraphButton::Click, this, &frmProgress::cmdCancel_Click);
    Form_Load();
}

frmProgress* frmProgress::instance(bool create)
{
    if (!g_istanza && create)
        g_istanza = new frmProgress(finestraPrincipale());
    return g_istanza;
}

void frmProgress::Form_Load()
{
    setWindowTitle(platform::applicationTitle());
}

void frmProgress::cmdCancel_Click()
{
    pflgArresta = true;
}

void frmProgress::closeEvent(QCloseEvent* e)
{
    // The close box asks the task to stop, as the Stop button does; the
    // task closes the window.
    if (g_istanza == this && isVisible()) {
        pflgArresta = true;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

frmProgress* frmProgress::Mostra(const QString& task, double max)
{
    // A stop asked by Close all or the end of the program while a task was
    // running stays asked for the task that follows it.
    pflgArresta = common::Chiusura_In_Attesa();
    if (!g_attivita)
        g_attivita.emplace();
    frmProgress* f = instance();
    f->Form_Load();
    f->lblTask->setText(task);
    f->ProgressBar1->setMax(max);
    f->ProgressBar1->setValue(0);
    f->ProgressBar1->setVisible(true);
    f->adjustSize();
    // Over the middle of the main window, where the user is looking.
    if (QWidget* main = f->parentWidget())
        f->move(main->geometry().center() - f->rect().center());
    f->show();
    f->raise();
    f->repaint();
    g_ultimiEventi.start();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return f;
}

bool frmProgress::Passo(double value)
{
    if (frmProgress* f = instance(false))
        f->ProgressBar1->setValue(value);
    if (!g_ultimiEventi.isValid() || g_ultimiEventi.elapsed() >= kIntervalloEventi) {
        QApplication::processEvents();
        g_ultimiEventi.start();
    }
    if (pflgArresta) {
        pflgArresta = false;
        return false;
    }
    return true;
}

void frmProgress::Unload()
{
    pflgArresta = false;
    if (frmProgress* f = instance(false)) {
        g_istanza = nullptr;
        f->hide();
        f->deleteLater();
    }
    g_attivita.reset();
}
