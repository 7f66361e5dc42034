// A batch of preference writes: nothing reaches the files until the outermost batch ends, then
// each store is saved once; a store that cannot be saved is reported at once and at the end.
// Values written again unchanged leave the file alone.
#include "PreferenceTestSupport.h"

#include <QDir>

#include <sys/stat.h>

namespace {

TEST(PreferenceBatchTest, SavesEachStoreOnceWhenTheOutermostBatchEnds)
{
    QTemporaryDir dir;
    const QString userFile = dir.filePath(QStringLiteral("home/veltra-pde/preferences.conf"));
    // The any-user store's directory cannot be made: its parent is a plain file.
    QFile blocker(dir.filePath(QStringLiteral("etc")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString anyFile = dir.filePath(QStringLiteral("etc/veltra-pde/preferences.conf"));
    VeltraPreferencesSetStoreFiles(QFile::encodeName(userFile).constData(),
                                   QFile::encodeName(anyFile).constData());

    StderrCapture errors;
    VeltraPreferencesBeginBatch();
    setString(QStringLiteral("Printer1UserNameReference"), QStringLiteral("alice"),
              Scope::CurrentUser);
    EXPECT_TRUE(synchronize(Scope::CurrentUser));
    VeltraPreferencesBeginBatch();
    setString(QStringLiteral("Printer1PasscodeReference"), QStringLiteral("1234"),
              Scope::CurrentUser);
    EXPECT_TRUE(synchronize(Scope::CurrentUser));
    setString(QStringLiteral("Printer1ManageTypeReference"), QStringLiteral("0"), Scope::AnyUser);
    EXPECT_FALSE(synchronize(Scope::AnyUser));
    EXPECT_TRUE(VeltraPreferencesEndBatch());
    EXPECT_FALSE(QFile::exists(userFile)) << "saved before the outermost batch ended";
    EXPECT_EQ(copyString(QStringLiteral("Printer1PasscodeReference"), Scope::CurrentUser),
              QStringLiteral("1234"));
    EXPECT_FALSE(VeltraPreferencesEndBatch());
    EXPECT_TRUE(errors.text().contains(QStringLiteral("cannot save preferences to")));

    // As a new process sees them: the current user's values, saved in one file.
    VeltraPreferencesSetStoreFiles(QFile::encodeName(userFile).constData(),
                                   QFile::encodeName(anyFile).constData());
    EXPECT_EQ(copyString(QStringLiteral("Printer1UserNameReference"), Scope::CurrentUser),
              QStringLiteral("alice"));
    EXPECT_EQ(copyString(QStringLiteral("Printer1PasscodeReference"), Scope::CurrentUser),
              QStringLiteral("1234"));
    EXPECT_EQ(copyString(QStringLiteral("Printer1ManageTypeReference"), Scope::AnyUser),
              std::nullopt);
    // Outside a batch, a write is saved by its own synchronisation again.
    setString(QStringLiteral("Printer2UserNameReference"), QStringLiteral("bob"),
              Scope::CurrentUser);
    EXPECT_TRUE(synchronize(Scope::CurrentUser));
    VeltraPreferencesSetStoreFiles(QFile::encodeName(userFile).constData(), nullptr);
    EXPECT_EQ(copyString(QStringLiteral("Printer2UserNameReference"), Scope::CurrentUser),
              QStringLiteral("bob"));
    VeltraPreferencesSetStoreFiles(nullptr, nullptr);
}

ino_t inodeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

TEST(PreferenceBatchTest, UnchangedValuesAreNotSavedAgainUnlessAnotherProcessChangedThem)
{
    TemporaryStores stores;
    const QString key = QStringLiteral("Printer1UserNameReference");
    setString(key, QStringLiteral("alice"), Scope::CurrentUser);
    ASSERT_TRUE(synchronize(Scope::CurrentUser));
    // Each save replaces the file with a new one.
    const ino_t saved = inodeOf(stores.file(Scope::CurrentUser));
    ASSERT_NE(saved, ino_t(0));
    setString(key, QStringLiteral("alice"), Scope::CurrentUser);
    EXPECT_TRUE(synchronize(Scope::CurrentUser));
    EXPECT_EQ(inodeOf(stores.file(Scope::CurrentUser)), saved);

    // Another process saves another value; writing ours again must win over it.
    const pid_t child = startChild([&] {
        stores.reopen();
        setString(key, QStringLiteral("carol"), Scope::CurrentUser);
        return synchronize(Scope::CurrentUser) ? 0 : 1;
    });
    ASSERT_EQ(waitForChild(child), 0);
    setString(key, QStringLiteral("alice"), Scope::CurrentUser);
    EXPECT_TRUE(synchronize(Scope::CurrentUser));
    stores.reopen();
    EXPECT_EQ(copyString(key, Scope::CurrentUser), QStringLiteral("alice"));
}

} // namespace
