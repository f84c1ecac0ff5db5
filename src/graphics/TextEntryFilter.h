#pragma once

class IParam;

// What a prompt's text field accepts, for every window layer alike.

// The characters a field for param may hold: digits and signs for bool, int
// and enum parameters, also '.' for doubles; none for parameters of no kind.
// Null (anything goes) without a parameter.
const char* TextEntryCharacters(const IParam* param);

// Whether the field may hold text after an edit: every character allowed and
// at most maxLength characters (0: no limit). A refused edit leaves the field
// as it was.
bool TextEntryAccepts(const IParam* param, int maxLength, const char* text);
