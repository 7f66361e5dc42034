// Geometry and window types of the toolkit layer.
#pragma once

#include "../CoreFoundation/CoreFoundation.h"

typedef struct OpaqueWindowPtr *WindowRef;
typedef struct OpaqueControlRef *ControlRef;
typedef struct OpaqueMenuRef *MenuRef;
typedef struct OpaqueIBNibRef *IBNibRef;
typedef struct OpaqueGrafPtr *GrafPtr;
typedef SInt16 ControlPartCode;
typedef UInt32 WindowClass;
typedef UInt32 WindowAttributes;
typedef UInt32 MenuCommand;

// Signed 16-bit coordinates, window-local (top-left of the window's content is 0,0).
struct Rect
{
    SInt16 top;
    SInt16 left;
    SInt16 bottom;
    SInt16 right;
};
struct Point
{
    SInt16 v;
    SInt16 h;
};

struct ControlID
{
    OSType signature;
    SInt32 id;
};

constexpr OSStatus errUnknownControl = -30584;
constexpr OSStatus errDataNotSupported = -30581;
constexpr OSStatus errControlIsNotEmbedder = -30590;
constexpr OSStatus errInvalidWindowRef = -5600;
constexpr OSStatus errWindowNotFound = -5604;
constexpr OSStatus errNibNotFound = -10400; // no nib of that name in the bundle
constexpr OSStatus errNibWindowNotFound = -10401;
constexpr OSStatus eventNotHandledErr = -9874;
constexpr OSStatus eventParameterNotFoundErr = -9870;
constexpr OSStatus errUnknownMenu = -30589;

constexpr WindowClass kDocumentWindowClass = 6;
constexpr WindowClass kMovableModalWindowClass = 4;
