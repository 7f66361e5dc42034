// The list of the panes' batch drivers.
#include "PaneBatch.h"

namespace veltra {

extern const PaneBatchDriver kPrintTypeBatchDriver;
extern const PaneBatchDriver kJobAccountingBatchDriver;

const PaneBatchDriver *const kPaneBatchDrivers[] = {
    &kPrintTypeBatchDriver,
    &kJobAccountingBatchDriver,
    nullptr,
};

const PaneBatchDriver *FindPaneBatchDriver(const std::string &paneKind)
{
    for (const PaneBatchDriver *const *driver = kPaneBatchDrivers; *driver; ++driver) {
        if (paneKind == (*driver)->paneKind)
            return *driver;
    }
    return nullptr;
}

} // namespace veltra
