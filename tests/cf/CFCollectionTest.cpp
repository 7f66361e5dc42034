// Arrays, dictionaries, numbers, booleans and data: ownership and equality the panes rely on.
#include "CoreFoundation/CFArray.h"
#include "CoreFoundation/CFData.h"
#include "CoreFoundation/CFDictionary.h"
#include "CoreFoundation/CFNumber.h"
#include "CoreFoundation/CFRef.h"
#include "CoreFoundation/CFString.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CFRef<CFStringRef> makeString(const char *text)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
}

TEST(CFArrayTest, TypeCallBacksRetainWhatTheArrayHolds)
{
    CFRef<CFStringRef> value = makeString("value");
    ASSERT_EQ(CFGetRetainCount(value), 1);
    {
        CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
        CFArrayAppendValue(array, value);
        CFArrayAppendValue(array, value);
        EXPECT_EQ(CFGetRetainCount(value), 3);
        EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), value.get());
        CFArrayRemoveValueAtIndex(array, 0);
        EXPECT_EQ(CFGetRetainCount(value), 2);
    }
    EXPECT_EQ(CFGetRetainCount(value), 1) << "the array released its values when freed";

    const void *values[] = {value.get(), value.get()};
    CFRef<CFArrayRef> fixed(CFArrayCreate(nullptr, values, 2, &kCFTypeArrayCallBacks));
    EXPECT_EQ(CFArrayGetCount(fixed), 2);
    EXPECT_EQ(CFGetRetainCount(value), 3);
    fixed.reset();
    EXPECT_EQ(CFGetRetainCount(value), 1);
}

TEST(CFArrayTest, NullCallBacksStorePlainPointers)
{
    int first = 1;
    int second = 2;
    CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, nullptr));
    CFArrayAppendValue(array, &first);
    CFArrayAppendValue(array, &second);
    CFArrayAppendValue(array, nullptr);
    ASSERT_EQ(CFArrayGetCount(array), 3);
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 0), &first);
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 1), &second);
    EXPECT_EQ(CFArrayGetValueAtIndex(array, 2), nullptr);
    CFArrayRemoveAllValues(array);
    EXPECT_EQ(CFArrayGetCount(array), 0);
}

struct CallLog
{
    std::vector<const void *> retained;
    std::vector<const void *> released;
};
CallLog callLog;

const void *logRetain(CFAllocatorRef, const void *value)
{
    callLog.retained.push_back(value);
    return value;
}
void logRelease(CFAllocatorRef, const void *value)
{
    callLog.released.push_back(value);
}

TEST(CFArrayTest, CustomCallBacksAreCalledForEveryValue)
{
    callLog = {};
    const CFArrayCallBacks callBacks = {0, logRetain, logRelease, nullptr, nullptr};
    int a = 0;
    int b = 0;
    {
        CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &callBacks));
        CFArrayAppendValue(array, &a);
        CFArrayAppendValue(array, &b);
        EXPECT_EQ(callLog.retained, (std::vector<const void *>{&a, &b}));
        CFArrayRemoveValueAtIndex(array, 0);
        EXPECT_EQ(callLog.released, (std::vector<const void *>{&a}));
    }
    EXPECT_EQ(callLog.released, (std::vector<const void *>{&a, &b}));
}

TEST(CFArrayTest, OutOfRangeIndexAnswersNull)
{
    CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    CFArrayAppendValue(array, CFSTR("only"));
    for (CFIndex index : {CFIndex(-1), CFIndex(1), CFIndex(1000)})
        EXPECT_EQ(CFArrayGetValueAtIndex(array, index), nullptr) << index;
    CFArrayRemoveValueAtIndex(array, 5);
    EXPECT_EQ(CFArrayGetCount(array), 1);
    EXPECT_EQ(CFArrayGetCount(nullptr), 0);
    EXPECT_EQ(CFArrayGetValueAtIndex(nullptr, 0), nullptr);
}

TEST(CFArrayTest, ArraysOfEqualObjectsAreEqual)
{
    const void *left[] = {CFSTR("a"), CFSTR("b")};
    CFRef<CFStringRef> b = makeString("b");
    const void *right[] = {CFSTR("a"), b.get()};
    CFRef<CFArrayRef> one(CFArrayCreate(nullptr, left, 2, &kCFTypeArrayCallBacks));
    CFRef<CFArrayRef> two(CFArrayCreate(nullptr, right, 2, &kCFTypeArrayCallBacks));
    CFRef<CFArrayRef> shorter(CFArrayCreate(nullptr, left, 1, &kCFTypeArrayCallBacks));
    EXPECT_TRUE(CFEqual(one, two));
    EXPECT_FALSE(CFEqual(one, shorter));
    EXPECT_EQ(CFGetTypeID(one), CFArrayGetTypeID());
}

TEST(CFDictionaryTest, KeysAreComparedByValueAndKeptInInsertionOrder)
{
    CFRef<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    const char *keys[] = {"zeta", "alpha", "mid", "CFBundleIdentifier"};
    for (const char *key : keys)
        CFDictionarySetValue(dict, makeString(key), makeString(key));
    ASSERT_EQ(CFDictionaryGetCount(dict), 4);

    // A different object with the same text finds the entry.
    CFStringRef found = static_cast<CFStringRef>(CFDictionaryGetValue(dict, makeString("alpha")));
    ASSERT_TRUE(found);
    EXPECT_TRUE(CFEqual(found, CFSTR("alpha")));
    EXPECT_TRUE(CFDictionaryContainsKey(dict, CFSTR("mid")));
    EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("Mid")));

    std::vector<const void *> gotKeys(4);
    std::vector<const void *> gotValues(4);
    CFDictionaryGetKeysAndValues(dict, gotKeys.data(), gotValues.data());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(CFEqual(gotKeys[i], makeString(keys[i]))) << i;
        EXPECT_TRUE(CFEqual(gotValues[i], makeString(keys[i]))) << i;
    }

    // Replacing keeps the place; removing closes the gap.
    CFDictionarySetValue(dict, CFSTR("zeta"), CFSTR("replaced"));
    CFDictionaryRemoveValue(dict, CFSTR("alpha"));
    ASSERT_EQ(CFDictionaryGetCount(dict), 3);
    CFDictionaryGetKeysAndValues(dict, gotKeys.data(), nullptr);
    EXPECT_TRUE(CFEqual(gotKeys[0], CFSTR("zeta")));
    EXPECT_TRUE(CFEqual(gotKeys[1], CFSTR("mid")));
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(dict, CFSTR("zeta")), CFSTR("replaced")));
    EXPECT_TRUE(CFEqual(CFDictionaryGetValue(dict, CFSTR("CFBundleIdentifier")),
                        CFSTR("CFBundleIdentifier")));
    EXPECT_EQ(CFDictionaryGetValue(dict, CFSTR("alpha")), nullptr);
}

TEST(CFDictionaryTest, RetainsKeysAndValuesUntilRemoved)
{
    CFRef<CFStringRef> key = makeString("key");
    CFRef<CFStringRef> value = makeString("value");
    CFRef<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    CFDictionarySetValue(dict, key, value);
    EXPECT_EQ(CFGetRetainCount(key), 2);
    EXPECT_EQ(CFGetRetainCount(value), 2);
    CFDictionaryRemoveValue(dict, key);
    EXPECT_EQ(CFGetRetainCount(key), 1);
    EXPECT_EQ(CFGetRetainCount(value), 1);
    CFDictionarySetValue(dict, key, value);
    dict.reset();
    EXPECT_EQ(CFGetRetainCount(value), 1);
}

TEST(CFDictionaryTest, NumbersAndUUIDsWorkAsKeysToo)
{
    CFRef<CFMutableDictionaryRef> dict(CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    for (SInt32 i = 0; i < 100; ++i)
        CFDictionarySetValue(dict,
                             CFRef<CFNumberRef>(CFNumberCreate(nullptr, kCFNumberSInt32Type, &i)),
                             CFSTR("number"));
    ASSERT_EQ(CFDictionaryGetCount(dict), 100);
    const double fortyTwo = 42.0;
    CFRef<CFNumberRef> key(CFNumberCreate(nullptr, kCFNumberFloat64Type, &fortyTwo));
    EXPECT_TRUE(CFDictionaryContainsKey(dict, key)) << "42.0 equals 42";
    EXPECT_FALSE(CFDictionaryContainsKey(dict, CFSTR("42")));
}

TEST(CFNumberTest, ValuesConvertAndReportLoss)
{
    const SInt64 big = 5000000000LL;
    CFRef<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt64Type, &big));
    SInt64 asLong = 0;
    EXPECT_TRUE(CFNumberGetValue(number, kCFNumberSInt64Type, &asLong));
    EXPECT_EQ(asLong, big);
    SInt32 asInt = 0;
    EXPECT_FALSE(CFNumberGetValue(number, kCFNumberSInt32Type, &asInt)) << "does not fit";

    const SInt8 small = -5;
    CFRef<CFNumberRef> tiny(CFNumberCreate(nullptr, kCFNumberSInt8Type, &small));
    int asPlainInt = 0;
    EXPECT_TRUE(CFNumberGetValue(tiny, kCFNumberIntType, &asPlainInt));
    EXPECT_EQ(asPlainInt, -5);
    double asDouble = 0;
    EXPECT_TRUE(CFNumberGetValue(tiny, kCFNumberFloat64Type, &asDouble));
    EXPECT_EQ(asDouble, -5.0);

    const double half = 2.5;
    CFRef<CFNumberRef> fraction(CFNumberCreate(nullptr, kCFNumberFloat64Type, &half));
    long asLongValue = 0;
    EXPECT_FALSE(CFNumberGetValue(fraction, kCFNumberLongType, &asLongValue));
    EXPECT_EQ(asLongValue, 2) << "truncated value is stored anyway";
    SInt16 asShort = 0;
    const double huge = 1e12;
    CFRef<CFNumberRef> hugeNumber(CFNumberCreate(nullptr, kCFNumberFloat64Type, &huge));
    EXPECT_FALSE(CFNumberGetValue(hugeNumber, kCFNumberSInt16Type, &asShort));
    EXPECT_FALSE(CFNumberCreate(nullptr, kCFNumberSInt32Type, nullptr));
}

TEST(CFNumberTest, EqualityFollowsTheValueNotTheType)
{
    const SInt32 two = 2;
    const SInt64 twoLong = 2;
    const double twoDouble = 2.0;
    const double twoAndABit = 2.000001;
    CFRef<CFNumberRef> a(CFNumberCreate(nullptr, kCFNumberSInt32Type, &two));
    CFRef<CFNumberRef> b(CFNumberCreate(nullptr, kCFNumberSInt64Type, &twoLong));
    CFRef<CFNumberRef> c(CFNumberCreate(nullptr, kCFNumberFloat64Type, &twoDouble));
    CFRef<CFNumberRef> d(CFNumberCreate(nullptr, kCFNumberFloat64Type, &twoAndABit));
    EXPECT_TRUE(CFEqual(a, b));
    EXPECT_TRUE(CFEqual(a, c));
    EXPECT_EQ(CFHash(a), CFHash(c));
    EXPECT_FALSE(CFEqual(a, d));
    EXPECT_FALSE(CFEqual(a, CFSTR("2")));
    EXPECT_FALSE(CFEqual(a, kCFBooleanTrue));
}

TEST(CFBooleanTest, TheTwoConstants)
{
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
    EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
    const CFIndex count = CFGetRetainCount(kCFBooleanTrue);
    CFRelease(kCFBooleanTrue);
    EXPECT_EQ(CFGetRetainCount(kCFBooleanTrue), count);
    EXPECT_FALSE(CFBooleanGetValue(nullptr));
}

TEST(CFDataTest, HoldsACopyOfTheBytes)
{
    UInt8 bytes[] = {0, 1, 2, 0xFF};
    CFRef<CFDataRef> data(CFDataCreate(nullptr, bytes, sizeof bytes));
    bytes[0] = 9;
    ASSERT_EQ(CFDataGetLength(data), 4);
    EXPECT_EQ(CFDataGetBytePtr(data)[0], 0);
    UInt8 part[2] = {};
    CFDataGetBytes(data, CFRangeMake(2, 2), part);
    EXPECT_EQ(part[0], 2);
    EXPECT_EQ(part[1], 0xFF);
    UInt8 untouched[2] = {7, 7};
    CFDataGetBytes(data, CFRangeMake(3, 2), untouched);
    EXPECT_EQ(untouched[0], 7) << "a range past the end copies nothing";

    const UInt8 same[] = {0, 1, 2, 0xFF};
    CFRef<CFDataRef> other(CFDataCreate(nullptr, same, sizeof same));
    EXPECT_TRUE(CFEqual(data, other));
    EXPECT_EQ(CFGetTypeID(data), CFDataGetTypeID());
    EXPECT_FALSE(CFDataCreate(nullptr, nullptr, 3));
}

TEST(CFTypeTest, EveryTypeHasItsOwnID)
{
    const CFTypeID ids[] = {CFStringGetTypeID(), CFArrayGetTypeID(),   CFDictionaryGetTypeID(),
                            CFNumberGetTypeID(), CFBooleanGetTypeID(), CFDataGetTypeID()};
    for (size_t i = 0; i < std::size(ids); ++i) {
        for (size_t j = i + 1; j < std::size(ids); ++j)
            EXPECT_NE(ids[i], ids[j]);
    }
    EXPECT_EQ(CFGetTypeID(CFSTR("x")), CFStringGetTypeID());
    EXPECT_FALSE(CFEqual(nullptr, CFSTR("x")));
    EXPECT_FALSE(CFEqual(CFSTR("x"), nullptr));
    EXPECT_EQ(CFGetRetainCount(nullptr), 0);
}

} // namespace
