// The print type pane's batch driver.
#include "PaneBatch.h"

namespace veltra {

namespace {

const PaneBatchOption kOptions[] = {
    {nullptr, nullptr, nullptr},
};

bool fill(WindowRef, QWidget *, const PaneBatchValues &, std::string *)
{
    return true;
}

bool answer(WindowRef, const QString &, const PaneBatchValues &)
{
    return false;
}

} // namespace

extern const PaneBatchDriver kPrintTypeBatchDriver = {"com.veltra.kzu.pde.PrintTypeKind", kOptions,
                                                      fill, answer};

} // namespace veltra
