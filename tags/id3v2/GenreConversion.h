// The conversion of TCON values read from a file: numeric references "(n)" to the ID3v1 genre
// table become genre names, a refinement word after them becomes a value of its own.
#pragma once

#include "base/String.h"

#include <vector>

namespace Tags::ID3v2Tag
{

class CTextFrame;

// Longest refinement word kept; a longer one is cut.
inline constexpr int GENRE_REFINEMENT_MAX = 30;

// The converted list: "(17)" gives "Rock", "(17)Rock" gives "Rock" and "Rock", "(148)" to
// "(255)" an empty value, other numbers only their refinement; values that do not begin with
// "(" and a number stay as they are.
std::vector<CString> ConvertGenres(const std::vector<CString>& values);
// Replaces the frame's values by their conversion.
void ConvertGenres(CTextFrame& frame);

} // namespace Tags::ID3v2Tag
