// tagdump: opens an audio file as the file list does and prints what the tag library reads from
// it as one JSON object; optionally sets tag fields as the single-file editor does and saves.
#pragma once

#include <iosfwd>

// Exit codes: 0 done, 1 the file cannot be opened, 2 bad usage, 3 the save failed.
int RunTagDump(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
