#include "shell/about_box.h"

#include "controls/graph_button.h"
#include "core/mlang.h"
#include "core/startup.h"
#include "platform/launcher.h"
#include "platform/services.h"
#include "shell/toolbar_icons.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

namespace {

// A click on the web address opens it.
class Collegamento : public QObject {
public:
    Collegamento(QObject* parent, std::function<void()> azione)
        : QObject(parent), m_azione(std::move(azione)) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            m_azione();
            return true;
        }
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void()> m_azione;
};

} // namespace

QString frmAbout::indirizzoInternet()
{
    // The program has no web page of its own yet: no address is shown rather
    // than an invented one. Put the real address here when there is one.
    return {};
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(shell::Immagine_Informazioni(96));
    Image1->setFixedSize(96, 96);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 2.0);
    f.setBold(true);
    lblTitle->setFont(f);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    lblInternet = new QLabel(this);
    lblInternet->setObjectName(QStringLiteral("lblInternet"));
    lblInternet->setText(indirizzoInternet());
    lblInternet->setCursor(Qt::PointingHandCursor);
    QPalette pal = lblInternet->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 200));
    lblInternet->setPalette(pal);
    QFont u = lblInternet->font();
    u.setUnderline(true);
    lblInternet->setFont(u);
    lblInternet->installEventFilter(new Collegamento(this, [this] { lblInternet_Click(); }));
    lblInternet->setVisible(!lblInternet->text().isEmpty());

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setCancel(true);
    cmdOK->setMinimumWidth(90);
    connect(cmdOK, &GraphButton::Click, this, &frmAbout::cmdOK_Click);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblInternet, 2, 1);
    grid->addWidget(cmdOK, 3, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(18);

    Lingua();
    lblTitle->setText(QStringLiteral("Astrovela"));
    lblVersion->setText(mLang::Testo_Lingua("frmAbout", "versione") + QLatin1Char(' ')
                        + core::Versione_Completa());
    setMinimumWidth(380);
}

void frmAbout::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua("frmAbout", "informazioni"));
    cmdOK->setCaption(mLang::Testo_Lingua("Buttons", "Ok"));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::lblInternet_Click()
{
    // A failed launch shows nothing; without an address there is nothing to open.
    if (lblInternet->text().isEmpty())
        return;
    if (auto* l = platform::services().launcher)
        l->openUrl(lblInternet->text());
}
