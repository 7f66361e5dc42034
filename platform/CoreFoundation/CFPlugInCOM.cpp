// The identifier of the IUnknown interface that every plug-in instance answers.
#include "CFPlugInCOM.h"

CFUUIDRef IUnknownUUID()
{
    return CFUUIDGetConstantUUIDWithBytes(nullptr, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
}
