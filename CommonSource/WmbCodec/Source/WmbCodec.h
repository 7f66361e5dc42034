/*
 * The password scrambler and Base64 codec.
 *
 * Password-like values reach the print-settings ticket as Base64 text of their scrambled bytes:
 * byte i of a value is XORed with character (i mod 4) of wmbkey, and the result is encoded with
 * the standard Base64 alphabet, padded with "=", without line breaks. A printer driver recovers
 * the value with WmbB64ToBin followed by WmbEncrypt (scrambling is its own inverse).
 *
 * The functions are exported from the plug-in module under these plain names. They work only in
 * buffers the caller supplies, allocate nothing, keep no state, never write a terminating NUL
 * and are reentrant. Lengths and capacities are byte counts.
 *
 * Plain C declarations: this header can be included from C and C++.
 */
#ifndef WMBCODEC_H
#define WMBCODEC_H

#include <stdint.h>

#if defined(__GNUC__)
#define WMB_EXPORT __attribute__((visibility("default")))
#else
#define WMB_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results of the three functions. */
enum
{
    kWmbNoErr = 0,             /* done; the out-length holds the bytes written */
    kWmbNullArgument = -1,     /* the input, the output buffer or the out-length pointer is null */
    kWmbBadLength = -2,        /* the input length or the output capacity is below 1 */
    kWmbNoRoom = -3,           /* the output would not fit in the capacity */
    kWmbInvalidCharacter = -4, /* WmbB64ToBin only: a character that is not Base64 text */
};

/* The scrambling key: four ASCII characters, "qbtn". */
WMB_EXPORT extern const char wmbkey[5];
/* The Base64 alphabet (A-Z, a-z, 0-9, "+", "/"); index = 6-bit value. */
WMB_EXPORT extern const char B64CHR[65];
/* The decode table for 7-bit codes: the 6-bit value of each alphabet character, 0xFF for every
 * other code. Codes 128 to 255 have no entry. */
WMB_EXPORT extern const unsigned char B64TBL[128];

/*
 * Scrambles inputLength bytes of input into output: output byte i = input byte i XOR
 * wmbkey[i mod 4]. Output and input may be the same buffer.
 * Answers 0 with *outputLength = inputLength; -1, -2 as above (the out-length untouched);
 * -3 when capacity < inputLength, after scrambling the whole groups of four bytes that fit, with
 * *outputLength counting them.
 */
WMB_EXPORT int32_t WmbEncrypt(const unsigned char *input, int32_t inputLength,
                              unsigned char *output, int32_t *outputLength, int32_t capacity);

/*
 * Encodes inputLength bytes as Base64 text of 4 * ceil(inputLength / 3) characters, padded with
 * "=" and without line breaks.
 * Answers 0 with *outputLength = the number of characters; -1, -2 as above; -3 when capacity is
 * below 4 * ceil(inputLength / 3) + 1 (the text plus a byte for the terminator the caller adds).
 * On any nonzero answer neither the output nor the out-length is touched.
 */
WMB_EXPORT int32_t WmbBinToB64(const unsigned char *input, int32_t inputLength, char *output,
                               int32_t *outputLength, int32_t capacity);

/*
 * Decodes Base64 text. input must be NUL-terminated; inputLength is its length in characters
 * (decoding may read white space beyond it up to the NUL, but starts no group of four at or
 * beyond it). White space (tab, line feed, vertical tab, form feed, carriage return, space) is
 * skipped anywhere. Decoding stops at the NUL, at the first "=" in the third or fourth place of
 * a group, and after a group cut short by the end of the text (a group of one or two characters
 * gives nothing, one of three gives two bytes).
 * Answers 0 with *outputLength = the number of bytes written; -1, -2 as above; -3, before writing
 * anything, when capacity < 3 * ceil(inputLength / 4); -4 when a character that decoding would
 * use is neither an alphabet character nor white space: a byte from 128 to 255, a control
 * character, punctuation other than "+" and "/", or "=" in the first or second place of a group.
 * On -4 the output holds the bytes of the groups before the one with the bad character and
 * *outputLength counts them.
 */
WMB_EXPORT int32_t WmbB64ToBin(const char *input, int32_t inputLength, unsigned char *output,
                               int32_t *outputLength, int32_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* WMBCODEC_H */
