// The audible refusal (see Controls.h).
#include "Controls.h"

#include <QApplication>

static UInt32 &BeepCount()
{
    static UInt32 count = 0;
    return count;
}

void SysBeep(short)
{
    ++BeepCount();
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::beep();
}

UInt32 VeltraBeepCount()
{
    return BeepCount();
}
