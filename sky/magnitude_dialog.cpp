#include "sky/magnitude_dialog.h"

#include "common/window_calls.h"
#include "controls/graph_button.h"
#include "core/mlang.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {

const QString kSezione = QStringLiteral("frmMagnitude");

} // namespace

frmMagnitude::frmMagnitude(const QString& qualeMappa, QWidget* owner)
    : QDialog(owner)
    , gstrQualeMappa(qualeMappa)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("frmMagnitude"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    cmbMagnitudine = new QComboBox(Frame1);
    cmbMagnitudine->setObjectName(QStringLiteral("cmbMagnitudine"));
    lblStelle = new QLabel(Frame1);
    lblStelle->setObjectName(QStringLiteral("lblStelle"));
    lblNumeroStelle = new QLabel(Frame1);
    lblNumeroStelle->setObjectName(QStringLiteral("lblNumeroStelle"));
    lblNumeroStelle->setMinimumWidth(48);
    auto* griglia = new QGridLayout(Frame1);
    griglia->addWidget(cmbMagnitudine, 0, 0, 1, 2);
    griglia->addWidget(lblStelle, 1, 0);
    griglia->addWidget(lblNumeroStelle, 1, 1, Qt::AlignRight);

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setCancel(true);
    for (GraphButton* b : {cmdOK, cmdCancel})
        b->setMinimumSize(84, 26);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdCancel);
    auto* tutto = new QVBoxLayout(this);
    tutto->addWidget(Frame1);
    tutto->addLayout(pulsanti);

    connect(cmbMagnitudine, qOverload<int>(&QComboBox::activated), this, &frmMagnitude::cmbMagnitudine_Click);
    connect(cmdOK, &QAbstractButton::clicked, this, &frmMagnitude::cmdOK_Click);
    connect(cmdCancel, &QAbstractButton::clicked, this, &frmMagnitude::cmdCancel_Click);

    Form_Load();
}

void frmMagnitude::Mostra(const QString& qualeMappa, QWidget* owner)
{
    frmMagnitude dialog(qualeMappa, owner);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.exec();
}

void frmMagnitude::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("magnitudinelimite")));
    lblStelle->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("stelle")));
    cmbMagnitudine->clear();
    for (const sky::LimiteMagnitudine& l : sky::kLimitiMagnitudine)
        cmbMagnitudine->addItem(QString::fromLatin1(l.testo));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("cancel")));
}

common::CartaStellare* frmMagnitude::bersaglio() const
{
    using Tipo = common::CartaStellare::Tipo;
    if (gstrQualeMappa == QLatin1String("generale"))
        return common::Carta_Aperta(Tipo::CieloGenerale);
    if (gstrQualeMappa == QLatin1String("locale"))
        return common::Carta_Aperta(Tipo::CieloLocale);
    if (gstrQualeMappa == QLatin1String("anteprima")) {
        // The pass map that owns the dialog: itself, or the window in the
        // MDI frame it is.
        QWidget* w = m_owner;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            w = sub->widget();
        auto* carta = dynamic_cast<common::CartaStellare*>(w);
        return carta && carta->Tipo_Carta() == Tipo::MappaPassaggio ? carta : nullptr;
    }
    return nullptr;
}

void frmMagnitude::Form_Load()
{
    Lingua();
    int c = 0;
    if (common::CartaStellare* b = bersaglio())
        c = b->Numero_Stelle();
    cmbMagnitudine->setCurrentIndex(-1);
    for (int i = 0; i < 12; ++i)
        if (sky::kLimitiMagnitudine[i].stelle == c) {
            cmbMagnitudine->setCurrentIndex(i);
            cmbMagnitudine_Click();
        }
    lblNumeroStelle->setText(QString::number(c));
}

void frmMagnitude::cmbMagnitudine_Click()
{
    const int i = cmbMagnitudine->currentIndex();
    if (i < 0 || i >= 12)
        return;
    mintStelle = sky::kLimitiMagnitudine[i].stelle;
    lblNumeroStelle->setText(QString::number(mintStelle));
}

void frmMagnitude::cmdOK_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    common::CartaStellare* b = bersaglio();
    // Nothing chosen (the chart's count is none of the twelve and the list
    // was left alone): the chart keeps its stars.
    const bool scelto = mintStelle > 0;
    if (scelto && b) {
        b->Numero_Stelle() = mintStelle;
        b->Ridisegna_Carta();
    }
    QApplication::restoreOverrideCursor();
    accept();
}

void frmMagnitude::cmdCancel_Click()
{
    reject();
}
