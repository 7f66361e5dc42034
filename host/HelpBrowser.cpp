// The help window: a text browser on the bundle's HTML pages.
#include "HelpBrowser.h"

#include <Help/AppleHelp.h>

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace veltra {

namespace {

void showInBrowser(const char *pagePath, const char *anchor, void *userData)
{
    static_cast<HelpBrowser *>(userData)->showPage(pagePath, anchor);
}

} // namespace

HelpBrowser::HelpBrowser() : m_browser(new QTextBrowser)
{
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    m_browser->resize(640, 480);
}

HelpBrowser::~HelpBrowser()
{
    if (m_installed)
        VeltraSetHelpViewer(nullptr, nullptr);
    delete m_browser;
}

void HelpBrowser::showPage(const char *pagePath, const char *anchor)
{
    if (!pagePath)
        return;
    QUrl url = QUrl::fromLocalFile(QString::fromUtf8(pagePath));
    if (anchor && *anchor)
        url.setFragment(QString::fromUtf8(anchor));
    m_browser->setSearchPaths({QFileInfo(QString::fromUtf8(pagePath)).absolutePath()});
    m_browser->setSource(url);
    m_browser->setWindowTitle(m_browser->documentTitle().isEmpty()
                                  ? QFileInfo(url.path()).fileName()
                                  : m_browser->documentTitle());
    m_browser->show();
    m_browser->raise();
}

void HelpBrowser::install()
{
    VeltraSetHelpViewer(&showInBrowser, this);
    m_installed = true;
}

} // namespace veltra
