#include "shell/language_picker.h"

#include "controls/graph_button.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "platform/prompt.h"
#include "platform/vb.h"

#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QVBoxLayout>

frmLanguage::frmLanguage(QString programFolder, QWidget* parent)
    : QDialog(parent), m_folder(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    lstLingua = new QListWidget(this);
    lstLingua->setObjectName(QStringLiteral("lstLingua"));
    lstLingua->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setCancel(true);
    for (GraphButton* b : {cmdOK, cmdCancel})
        b->setMinimumWidth(90);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstLingua);
    layout->addLayout(buttons);

    connect(lstLingua, &QListWidget::itemSelectionChanged, this, &frmLanguage::lstLingua_Click);
    connect(lstLingua, &QListWidget::itemDoubleClicked, this, &frmLanguage::cmdOK_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmLanguage::cmdOK_Click);
    connect(cmdCancel, &GraphButton::Click, this, &frmLanguage::cmdCancel_Click);

    Form_Load();
    resize(300, 260);
}

QString frmLanguage::Voce(const QString& fileName)
{
    return vb::ProperCase(fileName.left(fileName.size() - 4));
}

void frmLanguage::Form_Load()
{
    filLingua = QDir(m_folder).entryList({QStringLiteral("*")}, QDir::Files, QDir::Name | QDir::IgnoreCase)
                    .filter(QRegularExpression(QStringLiteral("\\.ini$"),
                                               QRegularExpression::CaseInsensitiveOption));
    cmdOK->setEnabled(false);
    for (const QString& f : filLingua) {
        if (f.isEmpty() || f.compare(QLatin1String("Astrovela.ini"), Qt::CaseInsensitive) == 0)
            continue;
        lstLingua->addItem(Voce(f));
        m_files.append(f);
    }
    if (gstrFileLingua.isEmpty() && lstLingua->count() > 0) {
        // The first language becomes the current one at once (in memory only),
        // so this window already speaks it.
        gstrFileLingua = m_files.first();
        gblnLinguaCaricata = false;
        lstLingua->setCurrentRow(0);
    } else {
        for (int i = 0; i < lstLingua->count(); ++i) {
            if ((lstLingua->item(i)->text() + QStringLiteral(".ini"))
                    .compare(gstrFileLingua, Qt::CaseInsensitive) == 0) {
                lstLingua->setCurrentRow(i);
                cmdOK->setEnabled(true);
            }
        }
    }
    Lingua();
}

void frmLanguage::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(objectName(), "lingua"));
    cmdOK->setCaption(mLang::Testo_Lingua("Buttons", "ok"));
    cmdCancel->setCaption(mLang::Testo_Lingua("Buttons", "cancel"));
}

void frmLanguage::lstLingua_Click()
{
    cmdOK->setEnabled(!lstLingua->selectedItems().isEmpty());
}

void frmLanguage::cmdOK_Click()
{
    const QList<QListWidgetItem*> sel = lstLingua->selectedItems();
    if (sel.isEmpty())
        return;
    // The other windows go with the change: one with unsaved work asks first,
    // and a Cancel there leaves the language, the setting and every window
    // as they were.
    if (chiusuraConcessa() && !chiusuraConcessa()()) {
        reject();
        return;
    }
    const int row = lstLingua->row(sel.first());
    const QString scelta = lstLingua->item(row)->text() + QStringLiteral(".ini");
    // The file as the folder spells it, so that it is found whatever the case.
    // Taken before the setting is written, so that a reason why it cannot
    // be kept is worded in the language chosen, as the message around it.
    gstrFileLingua = m_files.value(row, scelta);
    gblnLinguaCaricata = false;
    QString nonSalvata;
    try {
        mReg::Salva_Impostazione(QStringLiteral("Astrovela"), QStringLiteral("Generali"),
                                 QStringLiteral("Lingua"), scelta);
    } catch (const mReg::RegistryError& e) {
        // A full or read-only settings folder: the language is used all the
        // same for this run, and the user is told once why it is not kept.
        nonSalvata = e.detail().isEmpty() ? e.text() : e.detail();
    }
    // The start-up takes a choice the settings could not keep for this run.
    mLang::Imposta_Lingua_Non_Salvata(nonSalvata.isEmpty() ? QString() : gstrFileLingua);
    if (!nonSalvata.isEmpty())
        platform::MsgBox(mLang::Testo_Lingua(objectName(), "impostazioninonsalvate") + QStringLiteral("\r\n")
                             + nonSalvata,
                         platform::vbExclamation);
    if (applicaLingua()) {
        // Chosen from the menu: a file that gives no texts is named here (at
        // the first start the start-up names it).
        if (const QString senzaTesti = mLang::File_Senza_Testi(); !senzaTesti.isEmpty())
            platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "linguanonvalida") + QStringLiteral("\r\n")
                                 + QDir::toNativeSeparators(senzaTesti),
                             platform::vbExclamation);
        applicaLingua()(this);
    }
    accept();
}

void frmLanguage::cmdCancel_Click()
{
    reject();
}

std::function<void(QWidget*)>& frmLanguage::applicaLingua()
{
    static std::function<void(QWidget*)> f;
    return f;
}

std::function<bool()>& frmLanguage::chiusuraConcessa()
{
    static std::function<bool()> f;
    return f;
}
