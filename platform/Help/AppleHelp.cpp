// Help books: a registered bundle's help folder, opened page by page through the host's viewer.
#include "AppleHelp.h"

#include "../CoreFoundation/CFQt.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace {

struct HelpState
{
    std::mutex lock;
    std::map<QString, QString> books; // book name -> canonical help folder
    std::vector<QString> bookOrder;   // names in registration order
    std::string lastPage;
    std::string registeredNames;
    VeltraHelpViewer viewer = nullptr;
    void *viewerData = nullptr;
};

HelpState &state()
{
    static HelpState s;
    return s;
}

QString infoText(CFBundleRef bundle, CFStringRef key)
{
    const CFTypeRef value = CFBundleGetValueForInfoDictionaryKey(bundle, key);
    if (!value || CFGetTypeID(value) != CFStringGetTypeID())
        return {};
    return QStringFromCF(static_cast<CFStringRef>(value));
}

} // namespace

Boolean CFURLGetFSRef(CFURLRef url, FSRef *ref)
{
    if (!url || !ref)
        return false;
    FSRef candidate{};
    if (!CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8 *>(candidate.path),
                                          sizeof candidate.path))
        return false;
    if (!QFileInfo::exists(QString::fromUtf8(candidate.path)))
        return false;
    *ref = candidate;
    return true;
}

OSStatus AHRegisterHelpBook(const FSRef *appBundleRef)
{
    if (!appBundleRef ||
        std::memchr(appBundleRef->path, '\0', sizeof appBundleRef->path) == nullptr)
        return paramErr;
    CFRef<CFStringRef> path(CFStringCreateWithQString(QString::fromUtf8(appBundleRef->path)));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
    // Opening answers the bundle already open for that directory.
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    if (!bundle)
        return fnfErr;

    QString folder = infoText(bundle, CFSTR("CFBundleHelpBookFolder"));
    if (folder.isEmpty())
        folder = QStringLiteral("Help");
    const QFileInfo helpFolder(QString::fromUtf8(appBundleRef->path) +
                               QStringLiteral("/Contents/Resources/") + folder);
    if (!helpFolder.isDir())
        return fnfErr;

    // The book's name is the bundle's localized title of its help book.
    CFRef<CFStringRef> nameKey;
    const QString bookKey = infoText(bundle, CFSTR("CFBundleHelpBookName"));
    if (!bookKey.isEmpty())
        nameKey.reset(CFStringCreateWithQString(bookKey));
    else if (CFStringRef identifier = CFBundleGetIdentifier(bundle))
        nameKey = CFRef<CFStringRef>::retain(identifier);
    if (!nameKey)
        return fnfErr;
    CFRef<CFStringRef> name(CFBundleCopyLocalizedString(bundle, nameKey, nameKey, nullptr));
    const QString bookName = QStringFromCF(name);
    if (bookName.isEmpty())
        return fnfErr;

    HelpState &s = state();
    std::lock_guard guard(s.lock);
    if (s.books.find(bookName) == s.books.end())
        s.bookOrder.push_back(bookName);
    s.books[bookName] = helpFolder.canonicalFilePath();
    return noErr;
}

OSStatus AHGotoPage(CFStringRef bookName, CFStringRef path, CFStringRef anchor)
{
    if (!bookName)
        return paramErr;
    const QString book = QStringFromCF(bookName);
    QString page = path ? QStringFromCF(path) : QString();
    if (page.isEmpty())
        page = QStringLiteral("index.htm");

    VeltraHelpViewer viewer = nullptr;
    void *viewerData = nullptr;
    std::string pagePath;
    {
        HelpState &s = state();
        std::lock_guard guard(s.lock);
        const auto found = s.books.find(book);
        if (found == s.books.end())
            return fnfErr;
        const QString folder = found->second;
        const QFileInfo file(QDir(folder).filePath(page));
        if (!file.isFile())
            return fnfErr;
        // A page must lie inside the book's folder.
        const QString canonical = file.canonicalFilePath();
        if (!canonical.startsWith(folder + u'/'))
            return fnfErr;
        pagePath = canonical.toStdString();
        s.lastPage = pagePath;
        viewer = s.viewer;
        viewerData = s.viewerData;
    }
    if (viewer) {
        const std::string anchorText = anchor ? QStringFromCF(anchor).toStdString() : std::string();
        viewer(pagePath.c_str(), anchor ? anchorText.c_str() : nullptr, viewerData);
    }
    return noErr;
}

void VeltraSetHelpViewer(VeltraHelpViewer viewer, void *userData)
{
    HelpState &s = state();
    std::lock_guard guard(s.lock);
    s.viewer = viewer;
    s.viewerData = userData;
}

const char *VeltraLastHelpPage()
{
    HelpState &s = state();
    std::lock_guard guard(s.lock);
    return s.lastPage.c_str();
}

const char *VeltraRegisteredHelpBooks()
{
    HelpState &s = state();
    std::lock_guard guard(s.lock);
    s.registeredNames.clear();
    for (const QString &name : s.bookOrder) {
        if (!s.registeredNames.empty())
            s.registeredNames += '\n';
        s.registeredNames += name.toStdString();
    }
    return s.registeredNames.c_str();
}
