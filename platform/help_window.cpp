#include "platform/help_window.h"
#include "platform/vb.h"

#include "platform/language_texts.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace platform {

namespace {

QString plainText(QString html)
{
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    html.remove(tags);
    QTextDocument d;
    d.setHtml(html);
    return d.toPlainText().simplified();
}

QPointer<HelpWindow> g_window;

} // namespace

std::vector<HelpIndexEntry> helpIndex(const QString& html)
{
    // <h2><a name="x"></a>Title</h2> followed by <p class="kw">a; b; c</p>
    static const QRegularExpression heading(
        QStringLiteral("<h([23])[^>]*>(.*?)</h\\1>\\s*(<p class=\"kw\">(.*?)</p>)?"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression name(QStringLiteral("<a name=\"([^\"]+)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    std::vector<HelpIndexEntry> out;
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QRegularExpressionMatch a = name.match(m.captured(2));
        if (!a.hasMatch())
            continue;
        const QString anchor = a.captured(1);
        const QString title = plainText(m.captured(2));
        if (!title.isEmpty())
            out.push_back({title, anchor});
        for (const QString& k : plainText(m.captured(4)).split(u';', Qt::SkipEmptyParts)) {
            const QString kw = k.trimmed();
            if (!kw.isEmpty())
                out.push_back({kw, anchor});
        }
    }
    std::stable_sort(out.begin(), out.end(), [](const HelpIndexEntry& x, const HelpIndexEntry& y) {
        return QString::compare(x.keyword, y.keyword, Qt::CaseInsensitive) < 0;
    });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const HelpIndexEntry& x, const HelpIndexEntry& y) {
                              return x.anchor == y.anchor
                                     && QString::compare(x.keyword, y.keyword, Qt::CaseInsensitive) == 0;
                          }),
              out.end());
    return out;
}

QStringList helpAnchors(const QString& html)
{
    static const QRegularExpression name(QStringLiteral("<a name=\"([^\"]+)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (auto it = name.globalMatch(html); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

QStringList helpLinks(const QString& html)
{
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]+)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (auto it = link.globalMatch(html); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

HelpWindow* HelpWindow::instance(bool create)
{
    if (!g_window && create)
        g_window = new HelpWindow;
    return g_window;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The manual never keeps the program running: it goes when the main
    // window closes (which closes it too).
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 680);

    auto* bar = new QToolBar(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString());
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString());
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString());
    back->setObjectName(QStringLiteral("helpBack"));
    forward->setObjectName(QStringLiteral("helpForward"));
    home->setObjectName(QStringLiteral("helpContents"));
    m_back = back;
    m_forward = forward;
    m_home = home;
    Lingua();
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, [this] { showAnchor({}); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    m_side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(m_side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_filter = new QLineEdit(m_side);
    m_filter->setObjectName(QStringLiteral("helpFilter"));
    m_filter->setClearButtonEnabled(true);
    m_list = new QListWidget(m_side);
    m_list->setObjectName(QStringLiteral("helpIndex"));
    sideLayout->addWidget(m_filter);
    sideLayout->addWidget(m_list);
    connect(m_filter, &QLineEdit::textChanged, this, &HelpWindow::filter);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        if (m_list->count() > 0)
            showAnchor(m_list->item(0)->data(Qt::UserRole).toString());
    });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* i) { showAnchor(i->data(Qt::UserRole).toString()); });
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* i) { showAnchor(i->data(Qt::UserRole).toString()); });

    auto* split = new QSplitter(this);
    split->addWidget(m_side);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 680});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(bar);
    layout->addWidget(split);
}

void HelpWindow::Lingua()
{
    // The buttons' names (also their tooltips) in the user's language.
    m_back->setText(Testo_Lingua(QStringLiteral("Help"), QStringLiteral("indietro")));
    m_forward->setText(Testo_Lingua(QStringLiteral("Help"), QStringLiteral("avanti")));
    m_home->setText(Testo_Lingua(QStringLiteral("Help"), QStringLiteral("sommario")));
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the manual, as it closes a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool HelpWindow::event(QEvent* event)
{
    // A dialog that waits for its answer has come up while the manual is on
    // screen: the manual stands beside it, as when asked for from there.
    if (event->type() == QEvent::WindowBlocked) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != this)
            standOver(modal);
    }
    return QWidget::event(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The dialog it stands beside has its answer: beside the one that still
    // waits (the dialog that opened it), else alone again. (Minimised, it
    // still waits.)
    if (watched == m_dialog && event->type() == QEvent::Hide && !event->spontaneous()) {
        QWidget* modal = QApplication::activeModalWidget();
        standOver(modal && modal != watched && modal != this && modal->isVisible() ? modal : nullptr);
    }
    return QWidget::eventFilter(watched, event);
}

bool HelpWindow::ownsWindow(const QWidget* window) const
{
    for (const QWidget* w = window; w; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    // A window of its own that waits for its answer lives in the code that
    // asked for it, often on its stack: the manual leaves the screen but is
    // not destroyed under it. It comes back at the next request for help,
    // and goes when next closed with nothing of its own waiting.
    const QList<QWidget*> proprie = findChildren<QWidget*>();
    const bool attesa = std::any_of(proprie.cbegin(), proprie.cend(), [](const QWidget* w) {
        return w->isWindow() && w->isVisible() && w->isModal();
    });
    setAttribute(Qt::WA_DeleteOnClose, !attesa);
    QWidget::closeEvent(event);
}

void HelpWindow::standOver(QWidget* dialog)
{
    // Never over a window of its own: each would own the other, a loop that
    // the window system walks for ever. The manual waits for it as the
    // program's other windows do.
    if (dialog && ownsWindow(dialog))
        return;
    // A dialog that waits for its answer keeps the mouse and the keys from
    // every other window of the program, but not from the windows that stand
    // over it: the manual does, beside the dialog, until the dialog closes,
    // whether it was asked for from there or was open before. With no dialog
    // waiting it stands alone. (Only the program's own windows see it: for
    // a window manager, a window of this kind stays a window of its own.)
    if (m_dialog != dialog) {
        if (m_dialog)
            m_dialog->removeEventFilter(this);
        if (dialog)
            dialog->installEventFilter(this);
    }
    m_dialog = dialog;
    if (!windowHandle())
        create();
    QWindow* over = dialog ? dialog->window()->windowHandle() : nullptr;
    if (windowHandle()->transientParent() != over)
        windowHandle()->setTransientParent(over);
}

bool HelpWindow::load(const QString& file)
{
    // The language may have changed since the window was made.
    Lingua();
    if (file == m_file && !m_browser->document()->isEmpty())
        return true;
    const std::optional<QByteArray> bytes = vb::readFileBytes(file);
    if (!bytes)
        return false;
    const QString html = QString::fromUtf8(*bytes);
    m_file = file;
    m_index = helpIndex(html);
    m_browser->setSearchPaths({QFileInfo(file).absolutePath()});
    m_browser->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    m_linkColour = QGuiApplication::palette().color(QPalette::Link);
    m_browser->clearHistory();
    setWindowTitle(m_browser->documentTitle());
    filter(m_filter->text());
    return true;
}

void HelpWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && m_browser)
        followLinkColour();
    QWidget::changeEvent(event);
}

void HelpWindow::followLinkColour()
{
    // A page takes the palette's link colour for its links when it is read;
    // when the palette changes (the night colours on or off) its links take
    // the new one at once, the page and its place in it as they were. Only
    // the links that have the colour the page gave them: a colour the page
    // itself sets is kept.
    const QColor colour = QGuiApplication::palette().color(QPalette::Link);
    if (colour == m_linkColour)
        return;
    QTextDocument* page = m_browser->document();
    std::vector<std::pair<int, int>> links;
    for (QTextBlock b = page->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat c = f.charFormat();
            if (c.isAnchor() && !c.anchorHref().isEmpty() && c.foreground().color() == m_linkColour)
                links.emplace_back(f.position(), f.position() + f.length());
        }
    QTextCharFormat link;
    link.setForeground(colour);
    QTextCursor cursor(page);
    for (const auto& [from, to] : links) {
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(link);
    }
    m_linkColour = colour;
}

void HelpWindow::filter(const QString& text)
{
    m_list->clear();
    const QString t = text.trimmed();
    for (const HelpIndexEntry& e : m_index) {
        if (!t.isEmpty() && !e.keyword.contains(t, Qt::CaseInsensitive))
            continue;
        auto* item = new QListWidgetItem(e.keyword, m_list);
        item->setData(Qt::UserRole, e.anchor);
    }
}

void HelpWindow::showAnchor(const QString& anchor)
{
    QUrl url = QUrl::fromLocalFile(QFileInfo(m_file).absoluteFilePath());
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    m_browser->setSource(url);
    if (anchor.isEmpty())
        m_browser->verticalScrollBar()->setValue(0);
    bringForward();
}

void HelpWindow::showIndex(const QString& keyword)
{
    m_filter->setText(keyword);
    bringForward();
    m_filter->setFocus();
    m_filter->selectAll();
}

void HelpWindow::bringForward()
{
    QWidget* modal = QApplication::activeModalWidget();
    standOver(modal != this ? modal : nullptr);
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

} // namespace platform
