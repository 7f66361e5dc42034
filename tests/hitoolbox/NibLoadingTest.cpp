// Loading windows from nib directories, found by path or in a bundle's resources.
#include "ToolboxFixtures.h"

#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFURL.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

TEST(NibLoading, BundleNibOpensWindowsHiddenAndClassifiedAndUnknownOnesAreNotFound)
{
    QTemporaryDir dir;
    const QString contents = dir.path() + QStringLiteral("/Test.bundle/Contents");
    QDir().mkpath(contents + QStringLiteral("/Resources"));
    QFile plist(contents + QStringLiteral("/Info.plist"));
    ASSERT_TRUE(plist.open(QIODevice::WriteOnly));
    plist.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>CFBundleIdentifier</key><string>com.veltra.test.hitoolbox</string></dict></plist>
)");
    plist.close();
    QFile::link(QString::fromUtf8(kTestNib),
                contents + QStringLiteral("/Resources/TestWidgets.nib"));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(
        nullptr, MakeCFString((dir.path() + QStringLiteral("/Test.bundle")).toUtf8().constData()),
        kCFURLPOSIXPathStyle, true));
    CFBundleRef bundle = CFBundleCreate(nullptr, url);
    ASSERT_NE(bundle, nullptr);
    IBNibRef nib = nullptr;
    ASSERT_EQ(CreateNibReferenceWithCFBundle(bundle, CFSTR("TestWidgets"), &nib), noErr);
    WindowRef window = nullptr;
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Window"), &window), noErr);
    DisposeWindow(window);
    for (const char *name : {"NoSuchWindow", "Broken", "../TestWidgets.nib/Window", ""}) {
        window = reinterpret_cast<WindowRef>(1);
        EXPECT_EQ(CreateWindowFromNib(nib, MakeCFString(name), &window), errNibWindowNotFound)
            << name;
        EXPECT_EQ(window, nullptr) << name;
    }
    DisposeNibReference(nib);
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Window"), &window), paramErr) << "a disposed nib";
    DisposeNibReference(nib);

    nib = reinterpret_cast<IBNibRef>(1);
    EXPECT_EQ(CreateNibReferenceWithCFBundle(bundle, CFSTR("NoSuchNib"), &nib), errNibNotFound);
    EXPECT_EQ(nib, nullptr);
    // A window is hidden, named and classified by its top level.
    NibWindow plain("Window"), dialog("Modal");
    EXPECT_FALSE(IsWindowVisible(plain));
    EXPECT_EQ(plain.widget()->property("nibWindowName").toString(), QStringLiteral("Window"));
    EXPECT_EQ(GetWindowClassOf(plain), kDocumentWindowClass);
    EXPECT_EQ(GetWindowClassOf(dialog), kMovableModalWindowClass);
    EXPECT_NE(qobject_cast<QDialog *>(dialog.widget()), nullptr);
}
