// Loading windows from nib directories.
#include "ToolboxFixtures.h"

#include "CoreFoundation/CFBundle.h"
#include "CoreFoundation/CFURL.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A bundle in a temporary directory whose resources hold the test nib.
class TemporaryBundle
{
public:
    TemporaryBundle()
    {
        const QString contents = m_dir.path() + QStringLiteral("/Test.bundle/Contents");
        QDir().mkpath(contents + QStringLiteral("/Resources"));
        QFile plist(contents + QStringLiteral("/Info.plist"));
        if (plist.open(QIODevice::WriteOnly))
            plist.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>CFBundleIdentifier</key>
    <string>com.veltra.test.hitoolbox</string>
</dict>
</plist>
)");
        plist.close();
        QFile::link(QString::fromUtf8(TestNibPath()),
                    contents + QStringLiteral("/Resources/TestWidgets.nib"));
        const QByteArray path = (m_dir.path() + QStringLiteral("/Test.bundle")).toUtf8();
        CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, MakeCFString(path.constData()),
                                                          kCFURLPOSIXPathStyle, true));
        m_bundle = CFBundleCreate(nullptr, url);
    }
    CFBundleRef get() const { return m_bundle; }

private:
    QTemporaryDir m_dir;
    CFBundleRef m_bundle = nullptr;
};

} // namespace

TEST(NibLoading, BundleNibOpensAndUnknownNibsAreNotFound)
{
    TemporaryBundle bundle;
    ASSERT_NE(bundle.get(), nullptr);

    IBNibRef nib = nullptr;
    ASSERT_EQ(CreateNibReferenceWithCFBundle(bundle.get(), CFSTR("TestWidgets"), &nib), noErr);
    WindowRef window = nullptr;
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Window"), &window), noErr);
    EXPECT_NE(VeltraWindowWidget(window), nullptr);
    DisposeWindow(window);
    DisposeNibReference(nib);

    nib = reinterpret_cast<IBNibRef>(1);
    EXPECT_EQ(CreateNibReferenceWithCFBundle(bundle.get(), CFSTR("NoSuchNib"), &nib),
              errNibNotFound);
    EXPECT_EQ(nib, nullptr);
    EXPECT_EQ(VeltraCreateNibReferenceWithPath(VELTRA_TEST_DATA_DIR "/Missing.nib", &nib),
              errNibNotFound);
    EXPECT_EQ(nib, nullptr);
    EXPECT_EQ(VeltraCreateNibReferenceWithPath(nullptr, &nib), paramErr);
    EXPECT_EQ(CreateNibReferenceWithCFBundle(nullptr, CFSTR("TestWidgets"), &nib), paramErr);
}

TEST(NibLoading, WindowsThatCannotBeLoadedAnswerWindowNotFound)
{
    IBNibRef nib = nullptr;
    ASSERT_EQ(VeltraCreateNibReferenceWithPath(TestNibPath(), &nib), noErr);
    const struct
    {
        const char *name;
        const char *why;
    } cases[] = {
        {"NoSuchWindow", "no such file"},
        {"Broken", "malformed XML"},
        {"../TestWidgets.nib/Window", "a path out of the nib"},
        {"", "an empty name"},
    };
    for (const auto &c : cases) {
        WindowRef window = reinterpret_cast<WindowRef>(1);
        EXPECT_EQ(CreateWindowFromNib(nib, MakeCFString(c.name), &window), errNibWindowNotFound)
            << c.why;
        EXPECT_EQ(window, nullptr) << c.why;
    }
    WindowRef window = nullptr;
    EXPECT_EQ(CreateWindowFromNib(nib, nullptr, &window), paramErr);
    DisposeNibReference(nib);
    // A disposed reference is refused, not followed.
    EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Window"), &window), paramErr);
    DisposeNibReference(nib);
}

TEST(NibLoading, WindowIsHiddenNamedAndClassifiedByItsTopLevel)
{
    NibWindow plain("Window");
    ASSERT_EQ(plain.status(), noErr);
    EXPECT_FALSE(IsWindowVisible(plain));
    EXPECT_EQ(plain.widget()->property("nibWindowName").toString(), QStringLiteral("Window"));
    EXPECT_EQ(GetWindowClassOf(plain), kDocumentWindowClass);
    CFRef<CFStringRef> title;
    ASSERT_EQ(CopyWindowTitleAsCFString(plain, &title.out()), noErr);
    EXPECT_EQ(QStringFromCF(title), QStringLiteral("Test Window"));

    NibWindow dialog("Modal");
    ASSERT_EQ(dialog.status(), noErr);
    EXPECT_EQ(GetWindowClassOf(dialog), kMovableModalWindowClass);
    EXPECT_NE(qobject_cast<QDialog *>(dialog.widget()), nullptr);
}
