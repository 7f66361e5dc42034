// Static texts: the title from the bundle's strings, and reading back what the label shows.
#include "TextFieldsFixture.h"

using namespace textfields;

class StaticTextControlTest : public TextFieldsTest
{
};

TEST_F(StaticTextControlTest, TitleComesFromTheLocalisationKey)
{
    EXPECT_EQ(LabelOf(panel->title)->text(), kTranslatedKeyEnglish);

    // The label without a key finds its widget but has no title to show.
    EXPECT_FALSE(panel->emptyLabel->InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_NE(panel->emptyLabel->GetControlRef(), nullptr);
    EXPECT_EQ(LabelOf(panel->emptyLabel)->text(), "");

    // An untranslated key stands for itself; without bundle the title is left alone.
    CStaticTextControl untranslated(&emptyLabelID, nullptr, nullptr, nullptr, nullptr,
                                    CFSTR("Untranslated Label"));
    EXPECT_TRUE(untranslated.InitializeCtrl(window, nullptr, nullptr, nullptr));
    EXPECT_EQ(LabelOf(&untranslated)->text(), "Untranslated Label");
    EXPECT_TRUE(untranslated.InitializeTitle(nullptr));
    EXPECT_EQ(LabelOf(&untranslated)->text(), "Untranslated Label");

    // Rebinding takes the language of the moment.
    VeltraBundleSetLanguage("ja");
    EXPECT_TRUE(panel->title->ReInitializeCtrl(window));
    EXPECT_EQ(LabelOf(panel->title)->text(), QString::fromUtf8("印刷タイプ"));

    CStaticTextControl missing(&missingFieldID, nullptr, nullptr, nullptr, nullptr,
                               CFSTR("PDE Title"));
    EXPECT_FALSE(missing.InitializeCtrl(window, nullptr, bundle, nullptr));
    EXPECT_EQ(missing.GetValueFromUI(), nullptr);
}

TEST_F(StaticTextControlTest, ReadingBackGivesTheShownTextAsUTF8)
{
    // Nothing read yet: nothing to answer.
    EXPECT_EQ(panel->emptyLabel->GetValueFromUI(), nullptr);
    for (const char *shown : {"Print Type", "印刷タイプ", "ver. 1.0 \U0001F5A8"}) {
        LabelOf(panel->title)->setText(QString::fromUtf8(shown));
        EXPECT_EQ(TextOf(panel->title->GetValueFromUI()), shown);
        EXPECT_EQ(TextOf(panel->title->GetUIDataBlk()), shown);
    }
    // An empty label leaves uiData as it was.
    LabelOf(panel->title)->setText("");
    EXPECT_EQ(TextOf(panel->title->GetValueFromUI()), "ver. 1.0 \U0001F5A8");
}
