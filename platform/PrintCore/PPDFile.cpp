// Opening printer descriptions with libcups, with a message a user can act on.
#include "PrintHost.h"

#include <cerrno>
#include <cstring>

namespace veltra {

PPDFile OpenPPD(const std::string &path, std::string *error)
{
    if (path.empty()) {
        if (error)
            *error = "cannot open PPD: no file given";
        return nullptr;
    }
    errno = 0;
    PPDFile ppd(ppdOpenFile(path.c_str()));
    if (ppd)
        return ppd;
    const int savedErrno = errno;
    if (error) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        std::string reason = ppdErrorString(status);
        if (status == PPD_FILE_OPEN_ERROR && savedErrno != 0)
            reason += std::string(" (") + std::strerror(savedErrno) + ")";
        *error = "cannot open PPD " + path + ": " + reason;
        if (line > 0)
            *error += " on line " + std::to_string(line);
    }
    return nullptr;
}

} // namespace veltra
