#pragma once

// A packed version holds the major number in bits 16-31, the minor number in
// bits 8-15 and the revision in bits 0-7.
constexpr int kVersionStrSize = 32;

void GetVersionParts(int version, int* major, int* minor, int* revision);
int GetDecimalVersion(int version);
// Writes "v<major>.<minor>.<revision>" into at most kVersionStrSize bytes.
void GetVersionStr(int version, char* text);
