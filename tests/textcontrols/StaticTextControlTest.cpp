// Static texts: the title from the bundle's strings, and reading back what the label shows.
#include "TextFieldsFixture.h"

using namespace textfields;

class StaticTextControlTest : public TextFieldsTest
{
};

TEST_F(StaticTextControlTest, TitleComesFromTheLocalisationKey)
{
    EXPECT_EQ(LabelOf(panel->title)->text(), kTranslatedKeyEnglish);

    // An untranslated key stands for itself.
    CStaticTextControl untranslated(&emptyLabelID, nullptr, nullptr, nullptr, nullptr,
                                    CFSTR("Untranslated Label"));
    EXPECT_TRUE(untranslated.InitializeCtrl(window, nullptr, nullptr, nullptr));
    EXPECT_EQ(LabelOf(&untranslated)->text(), "Untranslated Label");

    // Rebinding takes the language of the moment.
    VeltraBundleSetLanguage("ja");
    EXPECT_TRUE(panel->title->ReInitializeCtrl(window));
    EXPECT_EQ(LabelOf(panel->title)->text(), QString::fromUtf8("印刷タイプ"));
}

TEST_F(StaticTextControlTest, TitleNeedsAKeyButNotABundle)
{
    QLabel *label = LabelOf(panel->title);
    label->setText("unchanged");
    EXPECT_TRUE(panel->title->InitializeTitle(nullptr));
    EXPECT_EQ(label->text(), "unchanged");

    // The label without a key finds its widget but has no title to show.
    EXPECT_FALSE(panel->emptyLabel->InitializeTitle(bundle));
    EXPECT_FALSE(panel->emptyLabel->InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_NE(panel->emptyLabel->GetControlRef(), nullptr);
    EXPECT_EQ(LabelOf(panel->emptyLabel)->text(), "");

    CStaticTextControl missing(&missingFieldID, nullptr, nullptr, nullptr, nullptr,
                               CFSTR("PDE Title"));
    EXPECT_FALSE(missing.InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_EQ(missing.GetValueFromUI(), nullptr);
}

TEST_F(StaticTextControlTest, ReadingBackGivesTheShownTextAsUTF8)
{
    const struct
    {
        QString shown;
        std::string read;
    } cases[] = {
        {"Print Type", "Print Type"},
        {QString::fromUtf8("印刷タイプ"), "印刷タイプ"},
        {QString::fromUtf8("ver. 1.0 \U0001F5A8"), "ver. 1.0 \U0001F5A8"},
    };
    for (const auto &c : cases) {
        LabelOf(panel->title)->setText(c.shown);
        EXPECT_EQ(TextOf(panel->title->GetValueFromUI()), c.read);
        EXPECT_EQ(TextOf(panel->title->GetUIDataBlk()), c.read);
    }
}

TEST_F(StaticTextControlTest, EmptyLabelLeavesUIDataAsItWas)
{
    // Nothing read yet: nothing to answer.
    EXPECT_EQ(panel->emptyLabel->GetValueFromUI(), nullptr);

    QLabel *label = LabelOf(panel->emptyLabel);
    label->setText("first text");
    void *read = panel->emptyLabel->GetValueFromUI();
    ASSERT_NE(read, nullptr);
    label->setText("");
    EXPECT_EQ(panel->emptyLabel->GetValueFromUI(), read);
    EXPECT_EQ(TextOf(panel->emptyLabel->GetUIDataBlk()), "first text");
}
