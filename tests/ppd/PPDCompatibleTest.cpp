// Whether the printer's model is one of the models a pop-up list offers, with the list loaded
// from a .ui window as the panes load theirs.
#include "PPDFixtures.h"
#include "PPDQueries.h"

#include <HIToolbox/Controls.h>
#include <HIToolbox/QtBridge.h>

#include <QComboBox>
#include <QFile>
#include <QUiLoader>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace ppdtest;

namespace {

class PPDCompatible : public testing::Test
{
protected:
    void SetUp() override
    {
        QFile file(QStringLiteral(VELTRA_TEST_DATA_DIR "/ppd/ModelList.ui"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QUiLoader loader;
        window.reset(loader.load(&file));
        ASSERT_TRUE(window);
        auto *list = window->findChild<QComboBox *>(QStringLiteral("modelList"));
        ASSERT_NE(list, nullptr);
        popup = VeltraControlForWidget(list);
        ASSERT_NE(popup, nullptr);
    }

    std::unique_ptr<QWidget> window;
    ControlRef popup = nullptr;
};

TEST_F(PPDCompatible, ASampleOfRealPrintersIsCheckedAgainstTheListedModels)
{
    const struct
    {
        const RealPPD *ppd;
        OSStatus expected;
    } cases[] = {
        {&kKyoceraFrench, noErr},
        {&kSharp, kPPDModelNotSupported},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ppd->name);
        auto ppd = OpenRealPPD(*c.ppd);
        ASSERT_TRUE(ppd);
        EXPECT_EQ(CheckPPDCompatible(ppd.get(), popup), c.expected);
    }
}

TEST_F(PPDCompatible, ModelNameMustMatchAnItemExactly)
{
    const struct
    {
        const char *modelName;
        OSStatus expected;
    } cases[] = {
        {"Kyocera FS-3700+", noErr},
        {"Kyocera FS-3700", kPPDModelNotSupported},     // shorter than the item
        {"Kyocera FS-3700+ KX", kPPDModelNotSupported}, // longer than the item
        {"kyocera fs-3700+", kPPDModelNotSupported},
        {"Mod\xE8le Veltra", noErr}, // the file's Latin-1 bytes, as libcups leaves them
        {"Mod\xC3\xA8le Veltra", noErr},
        {"", kPPDModelNotSupported},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.modelName);
        auto ppd = OpenInlinePPD(MinimalPPD(std::string("*ModelName: \"") + c.modelName + "\"\n"));
        ASSERT_TRUE(ppd);
        EXPECT_EQ(CheckPPDCompatible(ppd.get(), popup), c.expected);
    }
}

TEST_F(PPDCompatible, MissingDescriptionOrListIsNotCompatible)
{
    auto ppd = OpenRealPPD(kKyoceraFrench);
    ASSERT_TRUE(ppd);
    EXPECT_EQ(CheckPPDCompatible(nullptr, popup), kPPDModelNotSupported);
    EXPECT_EQ(CheckPPDCompatible(ppd.get(), nullptr), kPPDModelNotSupported);
    EXPECT_FALSE(ISPrintSupported(popup, nullptr));
    EXPECT_TRUE(ISPrintSupported(popup, "Lexmark C522"));
}

} // namespace
