#pragma once
// The main window: a multiple-document frame whose children are the views
// and dialogs. It carries the menu bar, the toolbar and the status bar, drives
// the one-second clock and runs the start-up and shut-down of the program.
#include "common/main_window_link.h"
#include "core/clock.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;
class frmTime;

class MDIForm1 : public QMainWindow, public core::StatusView, public MainWindowLink {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The main window of the running program (null before it exists).
    static MDIForm1* instance();

    QWidget* asWidget() override { return this; }
    QMdiArea* mdiArea() const override { return m_mdi; }

    // Start-up after the checks have passed: size and caption, settings,
    // language texts, splash, data files, working list, first tick, menus and
    // bars, the daylight-saving question. False when the program must end
    // (a fixed data file could not be read; the message was shown).
    bool MDIForm_Load();
    // The size the main window opens with, inside the part `disponibile` of
    // the screen that windows may use: 11150 x 8200 twips, grown so that the
    // workspace holds the largest of the program's dialogs whole.
    QSize Dimensione_Primo_Avvio(const QRect& disponibile) const;
    // The user's data folder that holds the working list (default: the
    // application data location).
    void setCartellaUtente(const QString& folder) { m_cartellaUtente = folder; }

    // Applies the language texts to the menus, toolbar and status bar, and
    // Qt's own texts (the standard buttons of message boxes and dialogs).
    void Lingua();
    // Loads Qt's translation for the language of the chosen language file
    // (its "Def"/"qtlingua" code, from the translations installed with Qt);
    // English needs none. False when the translation is not installed.
    static bool Carica_Traduzioni_Qt();
    // The word of an illumination state (1 shadow, 2 visible, 3 not visible).
    QString Stato2Stringa(long stato) const { return core::Stato2Stringa(stato); }
    // The help file named by the language file, in the program folder.
    QString helpFile() const override { return m_helpFile; }

    // An immediate refresh of every live view from the program clock, for a
    // window that changed the clock or the observer. It never moves a
    // simulated clock on: only the one-second timer does that.
    void tmrCentrale_Timer() override;
    void Aggiorna() { tmrCentrale_Timer(); }
    QTimer* tmrCentrale() const { return m_tmrCentrale; }

    // Menu items by control name ("mnuFileEsci"); null for an unknown name.
    QAction* menuItem(const QString& name) const override { return m_items.value(name); }
    QMenu* menu(const QString& name) const override { return m_menus.value(name); }
    // The names of every menu item whose caption comes from the language file,
    // in the order they are applied.
    static const QStringList& nomiMenu();
    // Lets a window built later run a menu command: the item is enabled and
    // runs `handler` when chosen.
    void setMenuHandler(const QString& name, std::function<void()> handler) override;
    // The command an item runs now (empty when none), so that a window can
    // serve an item for itself and hand every other case to the command
    // that was there before.
    std::function<void()> menuHandler(const QString& name) const override { return m_handlers.value(name); }

    // Toolbar and status bar.
    QToolBar* Toolbar1() const override { return m_toolbar; }
    QStatusBar* StatusBar1() const override { return m_statusBar; }
    QAction* mnuVisualizzaBarraPulsanti() const override { return m_items.value(QStringLiteral("mnuVisualizzaBarraPulsanti")); }
    QAction* mnuVisualizzaBarraStato() const override { return m_items.value(QStringLiteral("mnuVisualizzaBarraStato")); }
    // Panel 1 date and time, 2 principal satellite, 3 observer's place.
    QLabel* panel(int index) const override;
    void Mostra_data(const QString& text) override;
    // Shows the principal satellite's name in panel 2.
    void Mostra_principale() override;
    // The toolbar button with this key ("Open", "Save", ...), null if none.
    QToolButton* toolButton(const QString& key) const override { return m_buttons.value(key); }
    // Runs the command of a toolbar button or of an entry of button 1's menu,
    // by its key (case matters); other keys do nothing.
    void Toolbar1_ButtonClick(const QString& key);
    void Toolbar1_ButtonMenuClick(const QString& key);
    void StatusBar1_PanelClick(int index);

    // Commands of this window.
    void mnuOpzioniData_Click();
    void mnuOpzioniLingua_Click();
    void mnuAiutoInformazioni_Click();
    void mnuFileSalvaImpostazioni_Click();
    void mnuFileRipristinaImpostazioni_Click();
    void mnuFileEsci_Click();
    void mnuModifica_Click();
    void mnuModificaAnnulla_Click();
    void mnuModificaTaglia_Click();
    void mnuModificaCopia_Click();
    void mnuModificaIncolla_Click();
    void mnuModificaCancella_Click();
    void mnuVisualizzaBarraPulsanti_Click();
    void mnuVisualizzaBarraStato_Click();
    void mnuVisualizzaColoriNotte_Click();
    void mnuFinestreDiscesa_Click();
    void mnuFinestreDisponiOrizzontale_Click();
    void mnuFinestreDisponiVerticale_Click();
    void mnuFinestreDisponiTutto_Click();
    void mnuFinestreChiudiTutto_Click();

    // Chooses an element file and loads it as the principal (0) or the
    // secondary (1) database through the loader the database window
    // registers; a cancelled dialog, an empty name or an empty file change
    // nothing.
    void Apertura_database(int scelta) override;
    void setCaricaDatabase(std::function<void(int scelta, const QString& file)> carica) override
    {
        m_caricaDatabase = std::move(carica);
    }

    // The time window (created on first use, then only hidden and shown).
    frmTime* timeWindow(bool create = true);
    // Shows a window as a child of the main window; returns its frame.
    QMdiSubWindow* addChild(QWidget* w) override;

    // Unloads every child window, hidden ones included, through each one's
    // close handling (Close all, the language picker, exit); a running long
    // task is asked to stop first, and the windows go once it has ended.
    void closeChildren(QWidget* except = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The one-second timer: moves the clock on and refreshes.
    void passoOrologio();
    void creaMenu();
    void creaToolbar();
    void creaStatusBar();
    QAction* voce(QMenu* menu, const QString& name, bool checkable = false);
    void collega(const QString& name, void (MDIForm1::*slot)());
    void aggiornaStatoPulsanti();
    void Domanda_Ora_Legale();

    QMdiArea* m_mdi = nullptr;
    QTimer* m_tmrCentrale = nullptr;
    QToolBar* m_toolbar = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_panels[3] = {nullptr, nullptr, nullptr};
    QHash<QString, QAction*> m_items;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QToolButton*> m_buttons;
    QHash<QString, QString> m_buttonTarget;   // toolbar key -> menu item it runs
    QHash<QString, std::function<void()>> m_handlers;
    std::function<void(int, const QString&)> m_caricaDatabase;
    QMenu* m_toolbarMenu = nullptr;
    QPointer<frmTime> m_time;
    QPointer<QMdiSubWindow> m_timeFrame;
    QString m_helpFile;
    QString m_cartellaUtente;
    bool m_closing = false;
    bool m_uscitaConfermata = false;   // exit confirmed, waiting for a long task to stop
};
