#include "platform/help_service.h"
#include "platform/help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace platform {

QtHelpService::QtHelpService(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString QtHelpService::resolvedUrl() const
{
    const QString file = m_file.trimmed();
    if (file.isEmpty())
        return {};
    const QUrl url(file);
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https")
        return url.toString();
    QString path = scheme == u"file" ? url.toLocalFile() : file;
    QFileInfo info(path);
    if (info.isRelative()) {
        QString folder = m_programFolder;
        if (folder.isEmpty() && QCoreApplication::instance())
            folder = QCoreApplication::applicationDirPath();
        // Old names carried a leading backslash ("\Astrovela.hlp").
        path.replace(u'\\', u'/');
        while (path.startsWith(u'/'))
            path.remove(0, 1);
        info = QFileInfo(QDir(folder).filePath(path));
    }
    if (!info.isFile())
        return {};
    return QUrl::fromLocalFile(info.absoluteFilePath()).toString();
}

bool QtHelpService::open(const QString& fragment, const QString* keyword)
{
    const QString resolved = resolvedUrl();
    if (resolved.isEmpty())
        return false;
    QUrl url(resolved);
    const QString path = url.isLocalFile() ? url.toLocalFile() : url.path();
    const bool html = path.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive) ||
                      path.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive);
    if (html && url.isLocalFile()) {
        // The manual shipped with the program: our own help window.
        HelpWindow* w = HelpWindow::instance();
        if (!w->load(path))
            return false;
        w->showAnchor(fragment);
        if (keyword)
            w->showIndex(*keyword);
        return true;
    }
    if (html && !fragment.isEmpty())
        url.setFragment(fragment);
    return QDesktopServices::openUrl(url);
}

bool QtHelpService::showContents(QWidget*)
{
    return open({});
}

bool QtHelpService::searchKeyword(const QString& keyword, QWidget*)
{
    return open({}, &keyword);
}

bool QtHelpService::showContext(int context, QWidget*)
{
    return open(QStringLiteral("context-%1").arg(context));
}

} // namespace platform
