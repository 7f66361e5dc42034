// Plug-in loading through a bundle's property list: factory registration by type, instances
// made by exported C functions, instance counting, and clear failures.
#include "fixture/StderrCapture.h"
#include "fixture/TestPDEControl.h"

#include <CoreFoundation/CFQt.h>
#include <PrintCore/PMPrintingDialogExtensions.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

CFRef<CFUUIDRef> uuid(const char *text)
{
    CFRef<CFStringRef> string(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
    return CFRef<CFUUIDRef>(CFUUIDCreateFromString(nullptr, string));
}

CFRef<CFURLRef> urlOf(const std::string &path)
{
    CFRef<CFStringRef> text(CFStringCreateWithQString(QString::fromStdString(path)));
    return CFRef<CFURLRef>(
        CFURLCreateWithFileSystemPath(nullptr, text, kCFURLPOSIXPathStyle, true));
}

std::vector<std::string> factoryTexts(CFArrayRef factories)
{
    std::vector<std::string> texts;
    for (CFIndex i = 0; i < CFArrayGetCount(factories); ++i) {
        CFRef<CFStringRef> text(CFUUIDCreateString(
            nullptr, static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, i))));
        texts.push_back(QStringFromCF(text).toStdString());
    }
    return texts;
}

// A plug-in bundle written by a test around the test module.
std::string writePlugIn(const QTemporaryDir &dir, const char *name, const char *plist)
{
    const QString contents = dir.filePath(QString::fromLatin1(name)) + "/Contents";
    QDir().mkpath(contents + "/Linux");
    QFile::link(QString::fromStdString(testpde::kBundleDir) + "/Contents/Linux/TestPDE.so",
                contents + "/Linux/TestPDE.so");
    QFile file(contents + "/Info.plist");
    file.open(QIODevice::WriteOnly);
    file.write(plist);
    return dir.filePath(QString::fromLatin1(name)).toStdString();
}

TEST(PlugInLoading, FactoriesAreRegisteredByTypeInPropertyListOrder)
{
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(testpde::kBundleDir)), nullptr);
    CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    CFRef<CFArrayRef> dialogExtensions(CFPlugInFindFactoriesForPlugInType(pdeType));
    const auto texts = factoryTexts(dialogExtensions);
    const std::vector<std::string> expected = {"AAAAAAAA-0000-4000-8000-00000000000A",
                                               "BBBBBBBB-0000-4000-8000-00000000000B"};
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 2), expected);

    CFRef<CFArrayRef> other(
        CFPlugInFindFactoriesForPlugInType(uuid("0F0F0F0F-0000-4000-8000-000000000001")));
    EXPECT_EQ(factoryTexts(other),
              std::vector<std::string>{"DDDDDDDD-0000-4000-8000-00000000000D"});
    CFRef<CFArrayRef> unknown(
        CFPlugInFindFactoriesForPlugInType(uuid("12345678-0000-4000-8000-000000000000")));
    EXPECT_EQ(CFArrayGetCount(unknown), 0);
    CFRef<CFArrayRef> none(CFPlugInFindFactoriesForPlugInType(nullptr));
    EXPECT_EQ(CFArrayGetCount(none), 0);

    // Creating the plug-in again registers nothing twice.
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(testpde::kBundleDir)), nullptr);
    CFRef<CFArrayRef> again(CFPlugInFindFactoriesForPlugInType(pdeType));
    EXPECT_EQ(factoryTexts(again), texts);
}

TEST(PlugInLoading, InstancesComeFromTheExportedFactoryAndAreCounted)
{
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(testpde::kBundleDir)), nullptr);
    testpde::reset();
    CFRef<CFUUIDRef> factory = uuid("BBBBBBBB-0000-4000-8000-00000000000B");
    CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    ASSERT_EQ(VeltraPlugInInstanceCount(factory), 0);

    auto **instance =
        static_cast<IUnknownVTbl **>(CFPlugInInstanceCreate(nullptr, factory, pdeType));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 1);

    // The standard interface answers the instance itself, with one more reference.
    LPVOID out = nullptr;
    ASSERT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID()), &out),
              S_OK);
    EXPECT_EQ(out, instance);
    CFRef<CFUUIDRef> unknownInterface = uuid("99999999-0000-4000-8000-000000000009");
    EXPECT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(unknownInterface), &out),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    EXPECT_EQ((*instance)->Release(instance), 1u);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 1);
    EXPECT_EQ((*instance)->Release(instance), 0u);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 0);
    EXPECT_EQ(testpde::log().back(), "B:Destroyed");

    // A factory asked for a type it does not make answers nothing.
    CFRef<CFUUIDRef> otherType = uuid("0F0F0F0F-0000-4000-8000-000000000001");
    EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory, otherType), nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 0);
}

TEST(PlugInLoading, FailuresSayWhatIsMissing)
{
    QTemporaryDir dir;
    const std::string missingSymbol = writePlugIn(dir, "MissingSymbol.plugin", R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.missingsymbol</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>12121212-0000-4000-8000-000000000012</key><string>NotExportedFactory</string>
        </dict></dict></plist>)");
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(missingSymbol)), nullptr);
    CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    {
        StderrCapture capture;
        EXPECT_EQ(
            CFPlugInInstanceCreate(nullptr, uuid("12121212-0000-4000-8000-000000000012"), pdeType),
            nullptr);
        const std::string said = capture.text();
        EXPECT_NE(said.find("NotExportedFactory"), std::string::npos) << said;
        EXPECT_NE(said.find("MissingSymbol.plugin"), std::string::npos) << said;
    }
    {
        StderrCapture capture;
        EXPECT_EQ(
            CFPlugInInstanceCreate(nullptr, uuid("34343434-0000-4000-8000-000000000034"), pdeType),
            nullptr);
        EXPECT_NE(capture.text().find("34343434-0000-4000-8000-000000000034"), std::string::npos);
    }
}

TEST(PlugInLoading, MalformedFactoryEntriesAreIgnoredAndTheRestRegistered)
{
    QTemporaryDir dir;
    const std::string path = writePlugIn(dir, "Mixed.plugin", R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.mixed</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>not-a-uuid</key><string>VeltraTestPaneFactoryA</string>
          <key>56565656-0000-4000-8000-000000000056</key><integer>3</integer>
          <key>78787878-0000-4000-8000-000000000078</key><string>VeltraTestOtherFactory</string>
        </dict>
        <key>CFPlugInTypes</key><dict>
          <key>0F0F0F0F-0000-4000-8000-000000000003</key>
          <array>
            <string>78787878-0000-4000-8000-000000000078</string>
            <string>90909090-0000-4000-8000-000000000090</string>
          </array>
        </dict></dict></plist>)");
    StderrCapture capture;
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(path)), nullptr);
    const std::string said = capture.text();
    EXPECT_NE(said.find("not-a-uuid"), std::string::npos) << said;
    EXPECT_NE(said.find("does not name"), std::string::npos) << said;
    CFRef<CFArrayRef> factories(
        CFPlugInFindFactoriesForPlugInType(uuid("0F0F0F0F-0000-4000-8000-000000000003")));
    EXPECT_EQ(factoryTexts(factories),
              std::vector<std::string>{"78787878-0000-4000-8000-000000000078"});
}

TEST(PlugInLoading, InstanceCountNeverGoesBelowZero)
{
    CFRef<CFUUIDRef> factory = uuid("ABABABAB-0000-4000-8000-0000000000AB");
    StderrCapture capture;
    CFPlugInRemoveInstanceForFactory(factory);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 0);
    EXPECT_FALSE(capture.text().empty());
    CFPlugInAddInstanceForFactory(factory);
    CFPlugInAddInstanceForFactory(factory);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 2);
    CFPlugInRemoveInstanceForFactory(factory);
    CFPlugInRemoveInstanceForFactory(factory);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 0);
    CFPlugInAddInstanceForFactory(nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(nullptr), 0);
}

} // namespace
