// veltra-print --batch on the print type pane: the driver fills the pane with key presses and
// answers the confirmation window; what it cannot do is reported with the pane's own words.
#include "PrintTypeFixture.h"

#include <PaneBatch.h>

namespace printtype {
namespace {

using veltra::PaneBatchValues;

struct PrintTypeBatch : BatchHost
{
    explicit PrintTypeBatch(PaneBatchValues v) : BatchHost(kKind, std::move(v)) {}
};

class PrintTypeBatchTest : public PrintTypePaneTest
{
};

TEST_F(PrintTypeBatchTest, OptionsSetThePaneAsAUserWould)
{
    const struct
    {
        PaneBatchValues values;
        bool printed;
        std::map<std::string, std::string> ticket;
    } cases[] = {
        {{{"print-type", "secure"},
          {"user-name", "alice"},
          {"passcode", "1234"},
          {"document-name", "auto"}},
         true,
         {{kTypeKey, "2"}, {kUserKey, "alice"}, {kDocTypeKey, "1"}, {kDocKey, ""}}},
        {{{"print-type", "sample"}, {"user-name", "bob"}, {"document-name", "minutes"}},
         true,
         {{kTypeKey, "3"}, {kUserKey, "bob"}, {kDocTypeKey, "2"}, {kDocKey, "minutes"}}},
        {{{"print-type", "secure"},
          {"user-name", "carol"},
          {"passcode", "12"},
          {"if-passcode-short", "ordinary"}},
         true,
         {{kTypeKey, "1"}, {kUserKey, "carol"}}},
        {{{"print-type", "secure"}, {"user-name", "carol"}, {"passcode", "12"}}, false, {}},
    };
    for (const auto &c : cases) {
        open("Veltra-LX4200.ppd");
        PrintTypeBatch batch(c.values);
        ASSERT_NE(batch.driver, nullptr);
        std::string error;
        ASSERT_TRUE(batch.driver->fill(host.dialogWindow(), host.userPaneWidget(paneIndex),
                                       c.values, &error))
            << error;
        EXPECT_EQ(host.pressPrint(), c.printed);
        for (const auto &[key, value] : c.ticket)
            EXPECT_EQ(ticket(key.c_str()), value) << key;
        EXPECT_TRUE(batch.alerts.empty());
    }
}

TEST_F(PrintTypeBatchTest, RefusalsAreReportedInThePanesWords)
{
    const struct
    {
        const char *ppd;
        PaneBatchValues values;
        const char *fillError; // null: fill succeeds
        const char *alert;     // what Print showed, null for none
    } cases[] = {
        {"Veltra-LX4200.ppd",
         {{"print-type", "secure"}, {"user-name", "   "}},
         nullptr,
         "The user name must have 1 to 8 letters, digits or symbols (Latin-1 characters), and "
         "not only spaces."},
        {"Veltra-LX4200.ppd",
         {{"print-type", "secure"}, {"user-name", "abcdefghij"}},
         "the user name field refused some of \"abcdefghij\" and holds \"abcdefgh\"",
         nullptr},
        {"Veltra-LX4200.ppd",
         {{"print-type", "none"}, {"passcode", "1234"}},
         "the passcode is not used by this print type",
         nullptr},
        {"Veltra-LX4200.ppd",
         {{"print-type", "urgent"}},
         "--print-type takes none, secure or sample, not \"urgent\"",
         nullptr},
        {"Veltra-LX3100.ppd",
         {{"print-type", "secure"}},
         "the print type cannot be changed on this printer",
         nullptr},
    };
    for (const auto &c : cases) {
        open(c.ppd);
        PrintTypeBatch batch(c.values);
        std::string error;
        const bool filled = batch.driver->fill(host.dialogWindow(), host.userPaneWidget(paneIndex),
                                               c.values, &error);
        if (c.fillError) {
            EXPECT_FALSE(filled);
            EXPECT_EQ(error, c.fillError);
            continue;
        }
        ASSERT_TRUE(filled) << error;
        EXPECT_FALSE(host.pressPrint());
        ASSERT_EQ(batch.alerts.size(), 1u);
        EXPECT_EQ(batch.alerts.front(), c.alert);
    }
}

} // namespace
} // namespace printtype
