// What the pane benchmarks share: a dialog window with an empty user pane, a pane's callback
// table from its factory, and a main that sets up the bundle and private preference stores.
#pragma once

#include "PDEPlugInEntry.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/QtBridge.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

using PaneFactory = void *(*)(CFAllocatorRef, CFUUIDRef);

struct BenchDialog
{
    QWidget window;
    QWidget *pane;
    ControlRef userPane;
    BenchDialog()
    {
        auto *layout = new QVBoxLayout(&window);
        pane = new QWidget(&window);
        layout->addWidget(pane);
        VeltraWindowForWidget(&window);
        userPane = VeltraControlForWidget(pane);
    }
};

// The pane's callback table; *instanceOut (when given) receives the plug-in instance.
inline const PlugInIntfVTable *PaneInterface(PaneFactory factory, void **instanceOut = nullptr)
{
    CFRef<CFUUIDRef> type(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    void *instance = factory(nullptr, type);
    auto *unknown = *static_cast<IUnknownVTbl **>(instance);
    CFRef<CFUUIDRef> iid(CFUUIDCreateFromString(nullptr, kPMPDEInterfaceID));
    PMPlugInHeaderInterface *pde = nullptr;
    unknown->QueryInterface(instance, CFUUIDGetUUIDBytes(iid), reinterpret_cast<LPVOID *>(&pde));
    if (instanceOut)
        *instanceOut = instance;
    return pde->vtable;
}

// Runs the registered benchmarks off-screen with the build's bundle and preference stores in
// a temporary directory.
inline int RunPaneBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir prefs;
    const QByteArray user = (prefs.path() + "/user.prefs").toUtf8();
    const QByteArray any = (prefs.path() + "/any.prefs").toUtf8();
    VeltraPreferencesSetStoreFiles(user.constData(), any.constData());
    CFRef<CFStringRef> path(CFStringCreateWithQString(QStringLiteral(VELTRA_TEST_BUNDLE_DIR)));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
    if (!CFBundleCreate(nullptr, url))
        return 2;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
