#pragma once
// The help window: the program's manual (one HTML file per language, in the
// program folder) in a browser with back and forward, the contents and a
// keyword index. One window for the whole program: asking for help again
// brings it forward at the new topic. On screen, it takes the mouse and the
// keys beside any dialog that waits for its answer, whichever was opened
// first.
#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <utility>
#include <vector>

class QAction;
class QCloseEvent;
class QEvent;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QSplitter;
class QTextBrowser;
class QToolButton;

namespace platform {

// One entry of the keyword index: a word or a topic title and the anchor of
// its topic in the manual.
struct HelpIndexEntry {
    QString keyword;
    QString anchor;
};

// The keyword index of a manual: every topic heading (h2 or h3 that carries
// an anchor) by its title, and the keywords of the "kw" paragraph that
// follows it. Sorted without regard to case; duplicates kept once.
std::vector<HelpIndexEntry> helpIndex(const QString& html);
// The anchor names and the local links (href="#x", src="...") of a manual.
QStringList helpAnchors(const QString& html);
QStringList helpLinks(const QString& html);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one window (made on first use).
    static HelpWindow* instance(bool create = true);

    // Loads the manual when it changed; false when the file cannot be read.
    bool load(const QString& file);
    QString file() const { return m_file; }
    // Shows the manual at an anchor (empty: the contents, at the top).
    void showAnchor(const QString& anchor);
    // Shows the index with `keyword` typed in its box.
    void showIndex(const QString& keyword);

    QTextBrowser* browser() const { return m_browser; }
    QListWidget* indexList() const { return m_list; }
    QLineEdit* indexFilter() const { return m_filter; }
    const std::vector<HelpIndexEntry>& index() const { return m_index; }

    // The toolbar's texts from the language file in use.
    void Lingua();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    explicit HelpWindow(QWidget* parent = nullptr);
    // A change of the palette (the night colours on or off) reaches the
    // page's links.
    void changeEvent(QEvent* event) override;
    void filter(const QString& text);
    void followLinkColour();
    void bringForward();
    void standOver(QWidget* dialog);
    // Whether the manual is `window` or its owner (or its owner's...).
    bool ownsWindow(const QWidget* window) const;

    QString m_file;
    QTextBrowser* m_browser = nullptr;
    QLineEdit* m_filter = nullptr;
    QListWidget* m_list = nullptr;
    QWidget* m_side = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    std::vector<HelpIndexEntry> m_index;
    // The colour the page's links were given (the palette's link colour when
    // it was read or last followed).
    QColor m_linkColour;
    // The dialog waiting for its answer that the manual stands beside (none
    // while no dialog waits).
    QPointer<QWidget> m_dialog;
};

} // namespace platform
