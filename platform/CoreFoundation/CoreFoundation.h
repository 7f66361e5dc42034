// Everything of the CF-style layer.
#pragma once

#include "CFArray.h"
#include "CFBase.h"
#include "CFBundle.h"
#include "CFData.h"
#include "CFDictionary.h"
#include "CFNumber.h"
#include "CFPlugIn.h"
#include "CFPlugInCOM.h"
#include "CFPreferences.h"
#include "CFRef.h"
#include "CFString.h"
#include "CFURL.h"
#include "CFUUID.h"
