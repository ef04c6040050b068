#pragma once
// The language picker: lists the language files of the program folder by
// language name and writes the choice to the settings. Opened from the
// Options menu it closes every other window and puts the main window's texts
// in the new language at once.
#include <QDialog>
#include <QStringList>

#include <functional>

class GraphButton;
class QListWidget;

class frmLanguage : public QDialog {
    Q_OBJECT
public:
    explicit frmLanguage(QString programFolder, QWidget* parent = nullptr);

    void Lingua();

    // The ".ini" file names of the program folder, in folder order (the
    // source of the entries; not shown).
    QStringList filLingua;
    QListWidget* lstLingua = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;

    // The entry of a file name: the name less its extension, in proper case.
    static QString Voce(const QString& fileName);
    // What OK does after writing the choice: the main window installs its
    // own (close the other windows, texts in the new language) while it is up.
    static std::function<void(QWidget* picker)>& applicaLingua();
    // What OK asks before anything changes, while the main window is up:
    // whether every window with unsaved work lets itself be closed. False
    // calls the change off and the picker closes with nothing changed.
    static std::function<bool()>& chiusuraConcessa();

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
    void lstLingua_Click();

    QString m_folder;
    QStringList m_files; // the file behind each entry
};
