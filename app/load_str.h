// Texts of the string table by id.
#pragma once

// The text of string `id` in one of nine buffers of 1024 characters used in
// turn: it stays valid across the next eight calls. An unknown id gives "".
const char* LoadStr(int id);

// Copies the text of `id` into `buffer` (of `size` bytes, cut at a character
// boundary) and returns its length; 0 and "" for an unknown id. Implemented
// by the string table of the build (resources on Windows, a table elsewhere).
int LookupString(int id, char* buffer, int size);
