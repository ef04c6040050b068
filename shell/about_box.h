#pragma once
// The about box: the program's title, its version and the maker's web page.
// It also serves as the splash window while the start-up loads its tables.
#include <QDialog>

class GraphButton;
class QLabel;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // The caption and the button's text in the user's language.
    void Lingua();

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblInternet = nullptr;
    QLabel* Image1 = nullptr;
    GraphButton* cmdOK = nullptr;

    // OK: the window goes.
    void cmdOK_Click();

    // The maker's web page shown in lblInternet.
    static QString indirizzoInternet();

private:
    void lblInternet_Click();
};
