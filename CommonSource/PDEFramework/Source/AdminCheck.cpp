// The dialog's user and the administrators group, read from the group database.
#include "AdminCheck.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

const char kAdminGroupName[] = "admin";
// The user and group databases grow their answer buffer until the entry fits, up to this.
constexpr size_t kFirstEntryBuffer = 1024;
constexpr size_t kMaxEntryBuffer = size_t(1) << 20;
// A user name and its NUL.
constexpr size_t kUserNameSize = 256;

bool CopyName(const char *name, char *out, size_t size)
{
    const size_t length = strlen(name);
    if (length == 0 || length >= size)
        return false;
    memcpy(out, name, length + 1);
    return true;
}

// Runs lookup (a getpwuid_r-style call) with a buffer large enough for the entry; answers the
// entry, or null when there is none or the lookup fails.
template <typename Entry, typename Lookup>
Entry *LookUpEntry(Entry *entry, std::vector<char> &buffer, Lookup lookup)
{
    buffer.resize(kFirstEntryBuffer);
    for (;;) {
        Entry *found = nullptr;
        const int error = lookup(entry, buffer.data(), buffer.size(), &found);
        if (error == 0)
            return found;
        if (error != ERANGE || buffer.size() >= kMaxEntryBuffer)
            return nullptr;
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

bool GetDialogUserName(char *out, size_t size)
{
    if (!out || size == 0)
        return false;
    out[0] = 0;
    char login[kUserNameSize] = {};
    if (getlogin_r(login, sizeof login) == 0 && login[0])
        return CopyName(login, out, size);

    // No login record: the dialog runs for the effective user.
    passwd entry = {};
    std::vector<char> buffer;
    const uid_t uid = geteuid();
    passwd *found = LookUpEntry(&entry, buffer, [uid](passwd *e, char *b, size_t n, passwd **r) {
        return getpwuid_r(uid, e, b, n, r);
    });
    return found && found->pw_name && CopyName(found->pw_name, out, size);
}

bool IsUserAdmin_ADSafe()
{
    char user[kUserNameSize] = {};
    if (!GetDialogUserName(user, sizeof user))
        return false;

    group adminEntry = {};
    std::vector<char> groupBuffer;
    group *admin =
        LookUpEntry(&adminEntry, groupBuffer, [](group *e, char *b, size_t n, group **r) {
            return getgrnam_r(kAdminGroupName, e, b, n, r);
        });
    if (!admin)
        return false;
    for (char **member = admin->gr_mem; member && *member; ++member) {
        if (strcmp(*member, user) == 0)
            return true;
    }

    // A user whose primary group is "admin" is not listed among its members.
    passwd userEntry = {};
    std::vector<char> userBuffer;
    passwd *account =
        LookUpEntry(&userEntry, userBuffer, [&user](passwd *e, char *b, size_t n, passwd **r) {
            return getpwnam_r(user, e, b, n, r);
        });
    return account && account->pw_gid == admin->gr_gid;
}
