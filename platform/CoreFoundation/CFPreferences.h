// Preferences: a current-user store and an any-user store, for any application, current host.
#pragma once

#include "CFBase.h"

extern const CFStringRef kCFPreferencesAnyApplication;
extern const CFStringRef kCFPreferencesCurrentApplication;
extern const CFStringRef kCFPreferencesAnyHost;
extern const CFStringRef kCFPreferencesCurrentHost;
extern const CFStringRef kCFPreferencesAnyUser;
extern const CFStringRef kCFPreferencesCurrentUser;

// Keys are opaque texts: any key (with "/", spaces or non-ASCII) reads back exactly.
// A null value removes the key. The change is pending until CFPreferencesSynchronize.
void CFPreferencesSetValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID,
                           CFStringRef userName, CFStringRef hostName);
// The stored value (a new reference), or null.
CFPropertyListRef CFPreferencesCopyValue(CFStringRef key, CFStringRef applicationID,
                                         CFStringRef userName, CFStringRef hostName);
// Saves pending changes atomically, merging values saved meanwhile by other processes, and
// rereads the store. False when the store cannot be written (an any-user store for a non-admin).
Boolean CFPreferencesSynchronize(CFStringRef applicationID, CFStringRef userName,
                                 CFStringRef hostName);

// Host side: where the two stores live. Null keeps the default (the XDG config directories:
// $XDG_CONFIG_HOME/veltra-pde/preferences for the current user,
// the first of $XDG_CONFIG_DIRS/veltra-pde/preferences for any user). Drops cached state.
void VeltraPreferencesSetStoreFiles(const char *currentUserFile, const char *anyUserFile);

// A pane writes each value with its own CFPreferencesSynchronize; saving the file each time
// would rewrite (and flush to disk) the same store once per control. Between Begin and the
// outermost End, CFPreferencesSynchronize saves nothing and only answers whether the changes
// could be saved; End saves every store that was asked to, once, and answers false when one
// of those saves failed. Batches nest.
void VeltraPreferencesBeginBatch(void);
Boolean VeltraPreferencesEndBatch(void);

#ifdef __cplusplus
// One batch for the life of the object.
class VeltraPreferencesBatch
{
public:
    VeltraPreferencesBatch() { VeltraPreferencesBeginBatch(); }
    ~VeltraPreferencesBatch() { VeltraPreferencesEndBatch(); }
    VeltraPreferencesBatch(const VeltraPreferencesBatch &) = delete;
    VeltraPreferencesBatch &operator=(const VeltraPreferencesBatch &) = delete;
};
#endif
