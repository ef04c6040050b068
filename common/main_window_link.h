#pragma once
// What the windows may ask of the program's main window without knowing it:
// its workspace, its menu items and toolbar, its status panels, a refresh of
// the live views. The main window registers itself here when it is built;
// windows built without it (tests, tools) find no main window and stand alone.
#include <QString>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;

class MainWindowLink {
public:
    // The running program's main window, or null before it exists / after it went.
    static MainWindowLink* instance();
    // The same as a widget (the owner of modal dialogs), or null.
    static QWidget* window();

    virtual QWidget* asWidget() = 0;
    virtual QMdiArea* mdiArea() const = 0;

    // Menu items and menus by control name ("mnuFileEsci"); null when unknown.
    virtual QAction* menuItem(const QString& name) const = 0;
    virtual QMenu* menu(const QString& name) const = 0;
    // Lets a window run a menu command: the item is enabled and runs `handler`.
    virtual void setMenuHandler(const QString& name, std::function<void()> handler) = 0;
    // The command an item runs now (empty when none).
    virtual std::function<void()> menuHandler(const QString& name) const = 0;

    virtual QToolBar* Toolbar1() const = 0;
    // The View menu's marks of the toolbar and of the status bar.
    virtual QAction* mnuVisualizzaBarraPulsanti() const = 0;
    virtual QAction* mnuVisualizzaBarraStato() const = 0;
    virtual QToolButton* toolButton(const QString& key) const = 0;
    virtual QStatusBar* StatusBar1() const = 0;
    // Status panel 1 date and time, 2 principal satellite, 3 observer's place.
    virtual QLabel* panel(int index) const = 0;
    // Shows the principal satellite's name in its panel.
    virtual void Mostra_principale() = 0;

    // An immediate refresh of every live view from the program clock.
    virtual void tmrCentrale_Timer() = 0;
    // Chooses an element file and loads it as the principal (0) or the
    // secondary (1) database through the registered loader.
    virtual void Apertura_database(int scelta) = 0;
    virtual void setCaricaDatabase(std::function<void(int scelta, const QString& file)> carica) = 0;
    // Shows a window as a child of the workspace; returns its frame.
    virtual QMdiSubWindow* addChild(QWidget* w) = 0;
    // The help file named by the language file, in the program folder.
    virtual QString helpFile() const = 0;

protected:
    MainWindowLink();
    virtual ~MainWindowLink();
    MainWindowLink(const MainWindowLink&) = delete;
    MainWindowLink& operator=(const MainWindowLink&) = delete;
};
