// Everything of the toolkit layer.
#pragma once

#include "CarbonEvents.h"
#include "Controls.h"
#include "MacWindows.h"
#include "MacWindowsFunctions.h"
#include "Menus.h"
#include "Nib.h"
