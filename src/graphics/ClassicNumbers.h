#pragma once
#include "ScopedClassicNumbers.h"

// Numbers the editor shows or reads use '.' as the decimal point whatever
// locale the host runs under: formatting happens inside ScopedClassicNumbers,
// and typed text is read by ParseClassicNumber.

// The decimal number at the start of text (after white space), 0 when there
// is none or it is not finite.
double ParseClassicNumber(const char* text);
