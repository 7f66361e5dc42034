// Nib references and windows built from their Qt Designer files (see Nib.h).
#include "Nib.h"

#include "HIControl.h"
#include "HIWindow.h"
#include "HandleTable.h"

#include "../CoreFoundation/CFBundle.h"
#include "../CoreFoundation/CFQt.h"
#include "../CoreFoundation/CFRef.h"
#include "../CoreFoundation/CFString.h"
#include "../CoreFoundation/CFURL.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QPointer>
#include <QRadioButton>
#include <QUiLoader>

namespace {

constexpr char kWindowNameProperty[] = "nibWindowName";

struct NibReference
{
    QString directory;
};

OwningHandleTable<NibReference> &nibs()
{
    static auto *table = new OwningHandleTable<NibReference>;
    return *table;
}

OSStatus OpenNib(const QString &directory, IBNibRef *outNib)
{
    if (!QFileInfo(directory).isDir()) {
        qWarning("Nib \"%s\" not found", qUtf8Printable(directory));
        return errNibNotFound;
    }
    auto nib = std::make_unique<NibReference>();
    nib->directory = QDir(directory).absolutePath();
    *outNib = HandleAsRef<IBNibRef>(nibs().add(std::move(nib)));
    return noErr;
}

// One loader for the process. A new QUiLoader loads every designer plug-in of the library
// paths (Qt Quick's among them, megabytes the windows never use: they hold standard widgets
// only), so it is made while the library paths are empty.
QUiLoader &Loader()
{
    static QPointer<QUiLoader> loader;
    if (!loader) {
        const QStringList libraryPaths = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        loader = new QUiLoader(QCoreApplication::instance()); // deleted with the application
        QCoreApplication::setLibraryPaths(libraryPaths);
    }
    return *loader;
}

// A window name names one file of the nib directory, never a path out of it.
bool IsPlainName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QChar(0));
}

// Lays out every layout from the window down, so that bounds read before the window is
// first shown are the ones it will show.
void ActivateLayouts(QWidget *widget)
{
    if (QLayout *layout = widget->layout())
        layout->activate();
    for (QObject *child : widget->children()) {
        auto *childWidget = qobject_cast<QWidget *>(child);
        if (childWidget && !childWidget->isWindow())
            ActivateLayouts(childWidget);
    }
}

void PrepareNibWindow(QWidget *window, const QString &name)
{
    window->setProperty(kWindowNameProperty, name);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    if (qobject_cast<QDialog *>(window))
        window->setWindowModality(Qt::ApplicationModal);
    // The program groups its radio buttons itself.
    const auto radios = window->findChildren<QRadioButton *>();
    for (QRadioButton *radio : radios) {
        radio->setAutoExclusive(false);
        if (QButtonGroup *group = radio->group())
            group->setExclusive(false);
    }
    window->ensurePolished();
    ActivateLayouts(window);
    HIControl::registerIdentifiedWidgets(window);
}

} // namespace

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName, IBNibRef *outNib)
{
    if (!outNib)
        return paramErr;
    *outNib = nullptr;
    if (!bundle || !nibName)
        return paramErr;
    CFRef<CFURLRef> url(CFBundleCopyResourceURL(bundle, nibName, CFSTR("nib"), nullptr));
    if (!url) {
        qWarning("The bundle has no nib \"%s\"", qUtf8Printable(QStringFromCF(nibName)));
        return errNibNotFound;
    }
    CFRef<CFStringRef> path(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle));
    if (!path)
        return errNibNotFound;
    return OpenNib(QStringFromCF(path), outNib);
}

OSStatus VeltraCreateNibReferenceWithPath(const char *nibDirectory, IBNibRef *outNib)
{
    if (!outNib)
        return paramErr;
    *outNib = nullptr;
    if (!nibDirectory)
        return paramErr;
    return OpenNib(QString::fromUtf8(nibDirectory), outNib);
}

void DisposeNibReference(IBNibRef nib)
{
    nibs().remove(nib);
}

OSStatus CreateWindowFromNib(IBNibRef nib, CFStringRef windowName, WindowRef *outWindow)
{
    if (!outWindow)
        return paramErr;
    *outWindow = nullptr;
    const NibReference *reference = nibs().find(nib);
    if (!reference || !windowName)
        return paramErr;
    const QString name = QStringFromCF(windowName);
    const QString path = reference->directory + QLatin1Char('/') + name + QLatin1String(".ui");
    if (!IsPlainName(name) || !QFileInfo(path).isFile()) {
        qWarning("CreateWindowFromNib: the nib \"%s\" has no window \"%s\"",
                 qUtf8Printable(reference->directory), qUtf8Printable(name));
        return errNibWindowNotFound;
    }
    if (!HIWindow::haveWidgetApplication()) {
        qWarning("CreateWindowFromNib: windows need a QApplication");
        return errNibWindowNotFound;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("CreateWindowFromNib: cannot read \"%s\": %s", qUtf8Printable(path),
                 qUtf8Printable(file.errorString()));
        return errNibWindowNotFound;
    }
    QUiLoader &loader = Loader();
    loader.setWorkingDirectory(QFileInfo(path).absoluteDir());
    // The window object takes the widget over and deletes it in DisposeWindow.
    QWidget *widget = loader.load(&file, nullptr);
    if (!widget) {
        qWarning("CreateWindowFromNib: cannot load \"%s\": %s", qUtf8Printable(path),
                 qUtf8Printable(loader.errorString()));
        return errNibWindowNotFound;
    }
    PrepareNibWindow(widget, name);
    const bool modal = qobject_cast<QDialog *>(widget) != nullptr;
    HIWindow *window =
        HIWindow::create(widget, modal ? kMovableModalWindowClass : kDocumentWindowClass, true);
    *outWindow = window->ref();
    return noErr;
}
