// The text lexer shared by every text input: the configuration, .sym, .cp and
// .pal files. One state, one current stream at a time.
//
// Every byte read is mapped: CR and LF become a line end (10), other control
// characters (tab included) a blank (32); the end of the stream is -1. Blanks,
// line ends and C comments are skipped between tokens; in line mode a line
// end is reported as 10 instead.
#pragma once

#include <cstdio>

// Size of the name buffer: names hold at most 259 characters, lines 260.
constexpr int kLexNameMax = 259;
constexpr int kLexLineMax = 260;

// Makes stream current (none: every read yields the end) with the given line
// mode; clears the push-back and line-end state.
void lex_open(std::FILE* stream, bool linemode);
// Next mapped character, or -1 at the end of the stream.
int lex_getc();
// Pushes the last character read back (at most one between two reads).
void lex_ungetc();
// Next significant character (above 32, not a comment), a line end (line mode
// only), or -1 at the end.
int lex_skip();
// A non-negative decimal or 0x-hexadecimal number, or -1 (no number there; a
// value with the top bit set reads as negative too).
long lex_number();
// The next name (quoted or up to a blank or line end), or none at the end of
// the stream or when the name is rejected (see lex_name_rejected). The result
// lives in a shared buffer until the next name or line is read.
const char* lex_name();
// True when the last lex_name, cfg_firstname or cfg_linearg returned none
// because the name was rejected (an unclosed quote, or 260 characters or
// more) rather than because the stream ended.
bool lex_name_rejected();
// True when the reading of the current stream has reached its end inside a
// block comment ("/*" without "*/"); cleared whenever a stream is made current.
bool lex_comment_unclosed();
// The stream's next line (at most 260 characters), comments included; none
// for no stream. Leaves no stream current.
const char* lex_readline(std::FILE* stream);

// Configuration reading, one entry per line. cfg_firstname returns the next
// name (normally the first of the next line holding one); cfg_linearg a
// further name on the same line, or none when the line holds no more. The
// line-end state belongs to the configuration stream and survives reading
// other streams in between.
const char* cfg_firstname(std::FILE* stream);
const char* cfg_linearg(std::FILE* stream);
// True when the configuration stream's end has been reached inside a block
// comment, in any cfg_firstname or cfg_linearg on it so far.
bool cfg_comment_unclosed(std::FILE* stream);
