// XML property lists (the Info.plist of a bundle) read into CF objects.
//
// Elements: dict (key/value pairs), array, string, integer, real, true, false, data (Base64)
// and date (kept as its text). Anything else, or XML that is not well formed, is refused.
#pragma once

#include "CFBase.h"

#include <cstddef>
#include <string>

namespace veltra {

// A new property list (the caller releases it), or null with *error set to
// "line N: reason" when the text is not a well-formed property list.
CFPropertyListRef CreatePropertyListFromXMLData(const char *bytes, std::size_t length,
                                                std::string *error);
// As above for a file; the error then starts with the file's path.
CFPropertyListRef CreatePropertyListFromXMLFile(const std::string &path, std::string *error);

} // namespace veltra
