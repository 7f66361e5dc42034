// The host's help viewer: shows a help page in a text browser window.
#pragma once

class QTextBrowser;

namespace veltra {

class HelpBrowser
{
public:
    HelpBrowser();
    ~HelpBrowser();
    HelpBrowser(const HelpBrowser &) = delete;
    HelpBrowser &operator=(const HelpBrowser &) = delete;

    // Opens the page (an absolute file path) at anchor (may be null) and raises the window.
    void showPage(const char *pagePath, const char *anchor);
    QTextBrowser *browser() const { return m_browser; }

    // Makes this browser the viewer of AHGotoPage; the previous viewer is restored on
    // destruction.
    void install();

private:
    QTextBrowser *m_browser = nullptr; // a top-level window, deleted with this object
    bool m_installed = false;
};

} // namespace veltra
