// Who runs the print dialog, and whether that user belongs to the local administrators group
// "admin", whose members may change the settings shared by every user of the computer.
#pragma once

#include <cstddef>

// The name of the user running the dialog into out (size bytes with its NUL): the login name
// of the session, or, where there is none (a graphical session started without a terminal or
// login record), the name of the effective user in the user database. False with out empty
// when neither is known or the name does not fit.
bool GetDialogUserName(char *out, size_t size);

// True when the user running the dialog is a member of the local group "admin": listed by
// exact name among its members, or having it as primary group. False when not, and on every
// failure (no user name, no such group, an unreadable group database). Asked anew at each
// call; nothing is cached.
bool IsUserAdmin_ADSafe();
