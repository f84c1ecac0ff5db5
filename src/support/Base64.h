#pragma once

// Base64 with the standard alphabet "A-Z a-z 0-9 + /". Plain functions on
// caller-owned buffers: nothing allocates, nothing throws.

// Characters (without terminator) that Base64Encode writes for n bytes:
// 4 per started group of 3. 0 for n <= 0, -1 when it would not fit an int.
int Base64EncodedLength(int n);

// Writes the text of n bytes and a terminator into text (textSize bytes);
// a last group of 1 or 2 bytes is padded with "==" or "=". Returns the text
// length, or -1 (text emptied when textSize > 0) when the buffer is too small.
int Base64Encode(const void* data, int n, char* text, int textSize);

// Decodes from the first character until the terminator or the first
// character outside the alphabet (so "=" padding ends it), writing at most
// outSize bytes; bits of a trailing partial byte are dropped. Returns the
// number of bytes written. A null text decodes nothing.
int Base64Decode(const char* text, void* out, int outSize);
