// The text forms in which a control's value enters the print-settings ticket.
//
// Plain: the text as it is. Byte list: "/" followed by the unsigned decimal value of each byte
// ("a,b" becomes "/97/44/98"), used when the text begins with "/" or holds an apostrophe, comma
// or backslash, which the driver's ticket reader would otherwise take apart. Scrambled: the
// bytes XORed with the codec's key and Base64-encoded (WmbCodec.h).
#pragma once

#include <cstddef>

// Size of a ticket text buffer, terminator included.
inline constexpr int kTicketTextSize = 256;
// Size of a byte-list buffer: 255 bytes of up to four characters each ("/255"), and the NUL.
inline constexpr size_t kTicketByteListSize = 1021;
// Size of the buffer DecodeTicketByteList fills: 256 bytes and a terminator.
inline constexpr size_t kTicketDecodedSize = 257;

// True when text must go to the ticket as a byte list: it begins with "/" or contains an
// apostrophe, comma or backslash. False for a null text.
bool TicketTextNeedsByteList(const char *text);

// Writes the byte list of the NUL-terminated text (at most its first 255 bytes) into out, with
// a NUL. Only whole entries are written: when out is too small the list ends after the last one
// that fits. Answers the number of characters written, without the NUL; 0 for a null text or
// out, or an outSize of 0.
size_t EncodeTicketByteList(const unsigned char *text, char *out, size_t outSize);

// The reading of a ticket value: out is zero-filled; a text beginning with "/" is read as a byte
// list (each number with strtol, its low byte kept, at most 256 numbers; whatever follows a
// number up to the next "/" is ignored), any other text is copied (at most 256 bytes). out
// always ends in a NUL. A null text leaves out empty.
void DecodeTicketByteList(const char *text, unsigned char out[kTicketDecodedSize]);

// The scrambled form: scrambles byteCount bytes of text (never more than there are before its
// NUL) and writes their Base64 text, with a NUL, into out (kTicketTextSize bytes; text and out
// may be the same buffer). A byteCount of 0 leaves out empty: the empty value is written as it
// is. Answers 0, or the codec's code: -1 for a null text or out, -2 for a negative byteCount or
// an empty text, -3 for more than 189 bytes (the Base64 text would not fit). On a nonzero answer
// out is left empty, so the value can never reach the ticket unscrambled.
int EncodeScrambledTicketText(const char *text, int byteCount, char *out);

// The decimal digits of a non-negative value, right-aligned in buffer with the NUL in
// buffer[size - 1]; answers the address of the first digit. 0 and negative values give the
// empty string; digits that do not fit are dropped from the front. Null for a null buffer or a
// size below 1.
char *TicketItoa(int value, char *buffer, int size);

// Decodes a byte list in place within the first size bytes of text: each "/"-separated number
// (read as atoi reads it) becomes one byte from the start of text onward, each followed by a NUL;
// a number of 256 or more becomes 0. The separator after a number is overwritten with NUL only
// when its position is below size. A text not beginning with "/" is left alone.
void TicketNumstrtochar(unsigned char *text, int size);
