// The .ami mode of the per-file check: reads an AMI parameter file whole,
// line by line, into one text for the parameter-string parser. Lines are of
// any length; comments are cut, and each kept line is appended as it stands,
// without a separator. Description lines longer than 120 characters are
// reported.
#pragma once

struct PARSE_CONTEXT;

// Longest Description line, or continuation of one, in an .ami file.
constexpr int AMIREAD_DESCRIPTION_MAX = 120;

// Largest .ami file read: 16 MiB, far beyond any real parameter file (the
// parse tree takes some tens of times the text's size).
constexpr unsigned long AMIREAD_FILE_MAX = 16ul << 20;

// Reads the .ami file `path` into gpszAmiText. Returns 1 when the file was
// read to its end, 0 when it could not be opened or holds more than
// AMIREAD_FILE_MAX bytes (4701; nothing is parsed then), both reported.
int AMIREAD_ReadFile(PARSE_CONTEXT& ctx, const char* path);

// Appends `count` characters of `text` to gpszAmiText, growing it; 922 when
// it cannot grow (the text keeps what it held). Returns 1 or 0.
int AMIREAD_AppendText(PARSE_CONTEXT& ctx, const char* text, unsigned long count);
