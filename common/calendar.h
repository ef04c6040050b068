#pragma once
// The calendar: a month calendar opened on the program clock's date, for
// reference only. One instance, shown modeless; it closes with its close box
// or with Escape, as the other tool windows do.
#include <QPointer>
#include <QWidget>

class QCalendarWidget;

class frmCalendar : public QWidget {
    Q_OBJECT
public:
    explicit frmCalendar(QWidget* parent = nullptr);

    // Shows the one calendar window (in the main window's workspace, or as a
    // window of `parent`); an open one comes to the front unchanged.
    static frmCalendar* Mostra(QWidget* parent = nullptr);

    QCalendarWidget* MonthView1 = nullptr;

    void Form_Load();
    void Lingua();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The workspace frame whose own keys this window watches.
    QPointer<QWidget> m_cornice;
};
