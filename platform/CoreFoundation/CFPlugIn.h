// Plug-ins: factories named in a bundle's Info property list.
//   CFPlugInFactories: { factory UUID text: exported function name }
//   CFPlugInTypes:     { type UUID text: [ factory UUID texts ] }
#pragma once

#include "CFBase.h"
#include "CFUUID.h"

typedef void *(*CFPlugInFactoryFunction)(CFAllocatorRef allocator, CFUUIDRef typeUUID);

// Host side: opens the bundle (CFBundleCreate) and registers its factories. Null, with a
// message on stderr, when the bundle cannot be opened or names no factory.
CFPlugInRef CFPlugInCreate(CFAllocatorRef, CFURLRef plugInURL);
// The factories registered for typeUUID, as CFUUIDs (a new array; may be empty).
CFArrayRef CFPlugInFindFactoriesForPlugInType(CFUUIDRef typeUUID);
// Loads the executable, calls the factory and answers its instance (IUnknown-style), or null.
void *CFPlugInInstanceCreate(CFAllocatorRef, CFUUIDRef factoryUUID, CFUUIDRef typeUUID);

// Called by an instance when created and when its last reference goes away.
void CFPlugInAddInstanceForFactory(CFUUIDRef factoryID);
void CFPlugInRemoveInstanceForFactory(CFUUIDRef factoryID);
// Host side: number of live instances of a factory (for checks that nothing leaks).
CFIndex VeltraPlugInInstanceCount(CFUUIDRef factoryID);
