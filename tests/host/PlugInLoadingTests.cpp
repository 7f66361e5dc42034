// Plug-in loading through a bundle's property list: factory registration by type, instances
// made by exported C functions, instance counting, and clear failures.
#include "fixture/StderrCapture.h"
#include "fixture/TestPDEControl.h"

#include <PrintCore/PMPrintingDialogExtensions.h>

#include <gtest/gtest.h>

namespace {

using testpde::urlOf;
using testpde::uuid;
using Texts = std::vector<std::string>;

// The factories registered for a plug-in type, as UUID text.
Texts factoriesOf(CFUUIDRef type)
{
    CFRef<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInType(type));
    Texts texts;
    for (CFIndex i = 0; i < CFArrayGetCount(factories); ++i) {
        CFRef<CFStringRef> text(CFUUIDCreateString(
            nullptr, static_cast<CFUUIDRef>(CFArrayGetValueAtIndex(factories, i))));
        texts.push_back(QStringFromCF(text).toStdString());
    }
    return texts;
}

TEST(PlugInLoading, FactoriesAreRegisteredByTypeInPropertyListOrder)
{
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(testpde::kBundleDir)), nullptr);
    CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    const Texts texts = factoriesOf(pdeType);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(
        Texts(texts.begin(), texts.begin() + 2),
        (Texts{"AAAAAAAA-0000-4000-8000-00000000000A", "BBBBBBBB-0000-4000-8000-00000000000B"}));
    EXPECT_EQ(factoriesOf(uuid("0F0F0F0F-0000-4000-8000-000000000001")),
              Texts{"DDDDDDDD-0000-4000-8000-00000000000D"});
    EXPECT_EQ(factoriesOf(uuid("12345678-0000-4000-8000-000000000000")), Texts{});
    EXPECT_EQ(factoriesOf(nullptr), Texts{});
    // Creating the plug-in again registers nothing twice.
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(testpde::kBundleDir)), nullptr);
    EXPECT_EQ(factoriesOf(pdeType), texts);
}

TEST(PlugInLoading, InstancesComeFromTheExportedFactoryAndAreCounted)
{
    ASSERT_NE(CFPlugInCreate(nullptr, urlOf(testpde::kBundleDir)), nullptr);
    testpde::reset();
    CFRef<CFUUIDRef> factory = uuid("BBBBBBBB-0000-4000-8000-00000000000B");
    CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    auto **instance =
        static_cast<IUnknownVTbl **>(CFPlugInInstanceCreate(nullptr, factory, pdeType));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 1);

    // The standard interface answers the instance itself, with one more reference.
    LPVOID out = nullptr;
    ASSERT_EQ((*instance)->QueryInterface(instance, CFUUIDGetUUIDBytes(IUnknownUUID()), &out),
              S_OK);
    EXPECT_EQ(out, instance);
    EXPECT_EQ((*instance)->QueryInterface(
                  instance, CFUUIDGetUUIDBytes(uuid("99999999-0000-4000-8000-000000000009")), &out),
              E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ((*instance)->Release(instance), 1u);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 1);
    EXPECT_EQ((*instance)->Release(instance), 0u);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 0);
    EXPECT_EQ(testpde::log().back(), "B:Destroyed");
    // A factory asked for a type it does not make answers nothing.
    EXPECT_EQ(
        CFPlugInInstanceCreate(nullptr, factory, uuid("0F0F0F0F-0000-4000-8000-000000000001")),
        nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(factory), 0);

    // The count never goes below zero, and a missing factory counts nothing.
    CFRef<CFUUIDRef> other = uuid("ABABABAB-0000-4000-8000-0000000000AB");
    StderrCapture capture;
    CFPlugInRemoveInstanceForFactory(other);
    EXPECT_EQ(VeltraPlugInInstanceCount(other), 0);
    EXPECT_FALSE(capture.text().empty());
    CFPlugInAddInstanceForFactory(other);
    CFPlugInAddInstanceForFactory(other);
    EXPECT_EQ(VeltraPlugInInstanceCount(other), 2);
    CFPlugInAddInstanceForFactory(nullptr);
    EXPECT_EQ(VeltraPlugInInstanceCount(nullptr), 0);
}

TEST(PlugInLoading, BadFactoryEntriesAreSkippedAndMissingOnesNamed)
{
    QTemporaryDir dir;
    const std::string mixed = testpde::writePlugIn(dir, "Mixed.plugin", R"(<plist><dict>
        <key>CFBundleIdentifier</key><string>com.veltra.test.mixed</string>
        <key>CFBundleExecutable</key><string>TestPDE.so</string>
        <key>CFPlugInFactories</key><dict>
          <key>not-a-uuid</key><string>VeltraTestPaneFactoryA</string>
          <key>56565656-0000-4000-8000-000000000056</key><integer>3</integer>
          <key>78787878-0000-4000-8000-000000000078</key><string>VeltraTestOtherFactory</string>
          <key>12121212-0000-4000-8000-000000000012</key><string>NotExportedFactory</string>
        </dict>
        <key>CFPlugInTypes</key><dict>
          <key>0F0F0F0F-0000-4000-8000-000000000003</key>
          <array>
            <string>78787878-0000-4000-8000-000000000078</string>
            <string>90909090-0000-4000-8000-000000000090</string>
          </array>
        </dict></dict></plist>)");
    {
        StderrCapture capture;
        ASSERT_NE(CFPlugInCreate(nullptr, urlOf(mixed)), nullptr);
        const std::string said = capture.text();
        EXPECT_NE(said.find("not-a-uuid"), std::string::npos) << said;
        EXPECT_NE(said.find("does not name"), std::string::npos) << said;
    }
    EXPECT_EQ(factoriesOf(uuid("0F0F0F0F-0000-4000-8000-000000000003")),
              Texts{"78787878-0000-4000-8000-000000000078"});

    CFRef<CFUUIDRef> pdeType(CFUUIDCreateFromString(nullptr, kPMPDEPlugInType));
    const struct
    {
        const char *factory;
        std::vector<const char *> said;
    } cases[] = {
        {"12121212-0000-4000-8000-000000000012", {"NotExportedFactory", "Mixed.plugin"}},
        {"34343434-0000-4000-8000-000000000034", {"34343434-0000-4000-8000-000000000034"}},
    };
    for (const auto &c : cases) {
        StderrCapture capture;
        EXPECT_EQ(CFPlugInInstanceCreate(nullptr, uuid(c.factory), pdeType), nullptr);
        const std::string said = capture.text();
        for (const char *part : c.said)
            EXPECT_NE(said.find(part), std::string::npos) << said;
    }
}

} // namespace
