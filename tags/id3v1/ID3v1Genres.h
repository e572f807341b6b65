// The ID3v1 genre table: the 80 genres of the original ID3v1 definition followed by the 68 later
// extensions. The ID3v1 genre byte indexes it; the ID3v2 genre conversion and the editors' genre
// lists use it too.
#pragma once

namespace Tags::ID3v1Tag
{

inline constexpr int ID3v1GenreCount = 148;

// Indexes 0 to ID3v1GenreCount - 1. "Fusion" stands at both 30 and 84.
extern const char16_t* const ID3v1Genres[ID3v1GenreCount];

} // namespace Tags::ID3v1Tag
