// Who may change the shared job accounting settings: members of the local group "admin", read
// from a real group database in a throw-away namespace.
#include "AdminCheck.h"
#include "UserDatabaseNamespace.h"

namespace {

TEST(AdminCheck, AnswersFromTheGroupDatabase)
{
    RUN_IN_USER_NAMESPACE();
    const struct
    {
        const char *name;
        UserDatabase database;
        bool isAdmin;
    } rows[] = {
        {"listed member", {"jo", "wheel:x:10:ann\nadmin:x:4242:ann,jo,bob\n"}, true},
        {"not listed", {"jo", "admin:x:4242:ann,bob\n"}, false},
        {"prefix of a member", {"jo", "admin:x:4242:john,joanna\n"}, false},
        {"member prefix of the user", {"john", "admin:x:4242:jo\n"}, false},
        {"no such group", {"jo", "users:x:100:jo\nadmins:x:4243:jo\n"}, false},
        {"primary group", {"jo", "admin:x:4242:\n", 4242}, true},
        {"other primary group", {"jo", "staff:x:4242:\nadmin:x:4243:\n", 4242}, false},
    };
    for (const auto &row : rows) { // asked anew each time: no answer is kept
        SCOPED_TRACE(row.name);
        usernamespace::UseUserDatabase(row.database);
        // The test runs without a terminal: the user is found all the same.
        char user[64] = {};
        ASSERT_TRUE(GetDialogUserName(user, sizeof user));
        EXPECT_EQ(user, row.database.user);
        EXPECT_EQ(IsUserAdmin_ADSafe(), row.isAdmin);
    }
}

TEST(AdminCheck, UserNameThatDoesNotFitIsNotGuessed)
{
    char tiny[2] = {'x', 'x'};
    EXPECT_FALSE(GetDialogUserName(tiny, sizeof tiny));
    EXPECT_EQ(tiny[0], 0);
    EXPECT_FALSE(GetDialogUserName(nullptr, 10));
}

} // namespace
