// Who may change the shared job accounting settings: members of the local group "admin", read
// from a real group database in a throw-away namespace.
#include "AdminCheck.h"
#include "UserDatabaseNamespace.h"

#include <gtest/gtest.h>

namespace {

struct AdminCase
{
    const char *name;
    const char *user;
    const char *groups;
    unsigned primaryGroup;
    bool isAdmin;
};

void PrintTo(const AdminCase &c, std::ostream *out)
{
    *out << c.name;
}

const AdminCase kCases[] = {
    {"ListedMember", "jo", "wheel:x:10:ann\nadmin:x:4242:ann,jo,bob\n", 100, true},
    {"NotListed", "jo", "admin:x:4242:ann,bob\n", 100, false},
    {"PrefixOfAMember", "jo", "admin:x:4242:john,joanna\n", 100, false},
    {"MemberPrefixOfTheUser", "john", "admin:x:4242:jo\n", 100, false},
    {"NoSuchGroup", "jo", "users:x:100:jo\nadmins:x:4243:jo\n", 100, false},
    {"PrimaryGroup", "jo", "admin:x:4242:\n", 4242, true},
    {"OtherPrimaryGroup", "jo", "staff:x:4242:\nadmin:x:4243:\n", 4242, false},
};

class AdminCheckTest : public ::testing::TestWithParam<AdminCase>
{
};

TEST_P(AdminCheckTest, AnswersFromTheGroupDatabase)
{
    const AdminCase &c = GetParam();
    RUN_WITH_USER_DATABASE(UserDatabase::withUser(c.user, c.groups, c.primaryGroup));
    // The test runs without a terminal: the user is found all the same.
    char user[64] = {};
    ASSERT_TRUE(GetDialogUserName(user, sizeof user));
    EXPECT_STREQ(user, c.user);
    EXPECT_EQ(IsUserAdmin_ADSafe(), c.isAdmin);
    // Asked anew each time: the same answer, no state kept.
    EXPECT_EQ(IsUserAdmin_ADSafe(), c.isAdmin);
}

INSTANTIATE_TEST_SUITE_P(Groups, AdminCheckTest, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AdminCheck, UserNameThatDoesNotFitIsNotGuessed)
{
    char tiny[2] = {'x', 'x'};
    EXPECT_FALSE(GetDialogUserName(tiny, sizeof tiny));
    EXPECT_EQ(tiny[0], 0);
    EXPECT_FALSE(GetDialogUserName(nullptr, 10));
}

} // namespace
