// veltra-print --batch on the job accounting pane: the driver chooses the mode, fills that
// mode's settings window and answers the input window at Print, as a user would; what it
// cannot do is reported with the pane's own words.
#include "JobAccountingFixture.h"

#include "../admin/UserDatabaseNamespace.h"

#include <PaneBatch.h>

#include <map>

namespace jobaccounting {
namespace {

using veltra::PaneBatchValues;

TEST_F(JobAccountingTest, BatchOptionsWorkThePaneAsAUserWould)
{
    RUN_WITH_USER_DATABASE(UserDatabase::withUser("ann", "admin:x:4242:jo\n"));
    const std::string password33 = "The password must be empty or have 4 to 12 letters, digits "
                                   "or symbols (ASCII characters).";
    const struct
    {
        PaneBatchValues values;
        std::string error; // of fill; empty when it succeeds
        bool printed;
        std::map<std::string, std::string> ticket;
    } cases[] = {
        {{{"account-mode", "personal"}, {"account-user", "alice"}, {"account-password", "pass1"}},
         "",
         true,
         {{"JBAManageTypeListTicketKey", "2"},
          {"JBAUserIDListCtrlTicket", "2"},
          {"JBAUserIDTextEditTicket", "alice"},
          {"JBAUserPasswordTextEditTicket", Scrambled("pass1")}}},
        {{{"account-user", "login"}}, "", true, {{"JBAUserIDListCtrlTicket", "1"}}},
        {{{"account-ask-at-print", "yes"}, {"input-user-id", "bob"}, {"input-password", "word"}},
         "",
         true,
         {{"JBAUserInputRadioBtnTicket", "1"},
          {"JBAInputUserIDTextEditTicket", "bob"},
          {"JBAInputUserPasswordTextEditTicket", Scrambled("word")}}},
        {{{"account-ask-at-print", "yes"}, {"input-cancel", "yes"}}, "", false, {}},
        {{{"account-user", "alice"}, {"account-password", "abc"}},
         password33,
         true,
         {{"JBAUserIDListCtrlTicket", "1"}, {"JBAUserIDTextEditTicket", ""}}},
        {{{"account-mode", "shared"}},
         "the account mode can only be changed by a member of the administrators group",
         true,
         {{"JBAManageTypeListTicketKey", "2"}}},
        {{{"account-ask-at-print", "maybe"}},
         "--account-ask-at-print takes yes or no, not \"maybe\"",
         true,
         {}},
    };
    int run = 0;
    for (const auto &c : cases) {
        open("Batch" + std::to_string(++run)); // preferences of its own
        BatchHost batch("com.veltra.kzu.pde.JBAKind", c.values);
        ASSERT_NE(batch.driver, nullptr);
        std::string error;
        const bool filled = batch.driver->fill(dialogWindow, nullptr, c.values, &error);
        EXPECT_EQ(filled, c.error.empty()) << error;
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(pressPrint(), c.printed) << error;
        for (const auto &[key, value] : c.ticket)
            EXPECT_EQ(ticket(key), value) << key;
        if (!c.printed) {
            EXPECT_TRUE(session->ticket().entries().empty());
        }
    }
}

} // namespace
} // namespace jobaccounting
