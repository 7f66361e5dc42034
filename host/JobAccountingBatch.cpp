// The job accounting pane's batch driver.
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

extern const PaneBatchDriver kJobAccountingBatchDriver = {"com.veltra.kzu.pde.JBAKind", kOptions,
                                                          fill, answer};

} // namespace veltra
