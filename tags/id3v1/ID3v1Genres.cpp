#include "tags/id3v1/ID3v1Genres.h"

namespace Tags::ID3v1Tag
{

const char16_t* const ID3v1Genres[ID3v1GenreCount] = {
    u"Blues",                  // 0
    u"Classic Rock",           // 1
    u"Country",                // 2
    u"Dance",                  // 3
    u"Disco",                  // 4
    u"Funk",                   // 5
    u"Grunge",                 // 6
    u"Hip-Hop",                // 7
    u"Jazz",                   // 8
    u"Metal",                  // 9
    u"New Age",                // 10
    u"Oldies",                 // 11
    u"Other",                  // 12
    u"Pop",                    // 13
    u"R&B",                    // 14
    u"Rap",                    // 15
    u"Reggae",                 // 16
    u"Rock",                   // 17
    u"Techno",                 // 18
    u"Industrial",             // 19
    u"Alternative",            // 20
    u"Ska",                    // 21
    u"Death Metal",            // 22
    u"Pranks",                 // 23
    u"Soundtrack",             // 24
    u"Euro-Techno",            // 25
    u"Ambient",                // 26
    u"Trip-Hop",               // 27
    u"Vocal",                  // 28
    u"Jazz+Funk",              // 29
    u"Fusion",                 // 30
    u"Trance",                 // 31
    u"Classical",              // 32
    u"Instrumental",           // 33
    u"Acid",                   // 34
    u"House",                  // 35
    u"Game",                   // 36
    u"Sound Clip",             // 37
    u"Gospel",                 // 38
    u"Noise",                  // 39
    u"Alternative Rock",       // 40
    u"Bass",                   // 41
    u"Soul",                   // 42
    u"Punk",                   // 43
    u"Space",                  // 44
    u"Meditative",             // 45
    u"Instrumental Pop",       // 46
    u"Instrumental Rock",      // 47
    u"Ethnic",                 // 48
    u"Gothic",                 // 49
    u"Darkwave",               // 50
    u"Techno-Industrial",      // 51
    u"Electronic",             // 52
    u"Pop-Folk",               // 53
    u"Eurodance",              // 54
    u"Dream",                  // 55
    u"Southern Rock",          // 56
    u"Comedy",                 // 57
    u"Cult",                   // 58
    u"Gangsta",                // 59
    u"Top 40",                 // 60
    u"Christian Rap",          // 61
    u"Pop/Funk",               // 62
    u"Jungle",                 // 63
    u"Native American",        // 64
    u"Cabaret",                // 65
    u"New Wave",               // 66
    u"Psychedelic",            // 67
    u"Rave",                   // 68
    u"Showtunes",              // 69
    u"Trailer",                // 70
    u"Lo-Fi",                  // 71
    u"Tribal",                 // 72
    u"Acid Punk",              // 73
    u"Acid Jazz",              // 74
    u"Polka",                  // 75
    u"Retro",                  // 76
    u"Musical",                // 77
    u"Rock & Roll",            // 78
    u"Hard Rock",              // 79
    u"Folk",                   // 80
    u"Folk/Rock",              // 81
    u"National Folk",          // 82
    u"Swing",                  // 83
    u"Fusion",                 // 84
    u"Bebob",                  // 85
    u"Latin",                  // 86
    u"Revival",                // 87
    u"Celtic",                 // 88
    u"Bluegrass",              // 89
    u"Avantgarde",             // 90
    u"Gothic Rock",            // 91
    u"Progressive Rock",       // 92
    u"Psychedelic Rock",       // 93
    u"Symphonic Rock",         // 94
    u"Slow Rock",              // 95
    u"Big Band",               // 96
    u"Chorus",                 // 97
    u"Easy Listening",         // 98
    u"Acoustic",               // 99
    u"Humour",                 // 100
    u"Speech",                 // 101
    u"Chanson",                // 102
    u"Opera",                  // 103
    u"Chamber Music",          // 104
    u"Sonata",                 // 105
    u"Symphony",               // 106
    u"Booty Bass",             // 107
    u"Primus",                 // 108
    u"Porn Groove",            // 109
    u"Satire",                 // 110
    u"Slow Jam",               // 111
    u"Club",                   // 112
    u"Tango",                  // 113
    u"Samba",                  // 114
    u"Folklore",               // 115
    u"Ballad",                 // 116
    u"Power Ballad",           // 117
    u"Rhythmic Soul",          // 118
    u"Freestyle",              // 119
    u"Duet",                   // 120
    u"Punk Rock",              // 121
    u"Drum Solo",              // 122
    u"A Cappella",             // 123
    u"Euro-House",             // 124
    u"Dance Hall",             // 125
    u"Goa",                    // 126
    u"Drum & Bass",            // 127
    u"Club-House",             // 128
    u"Hardcore",               // 129
    u"Terror",                 // 130
    u"Indie",                  // 131
    u"BritPop",                // 132
    u"Negerpunk",              // 133
    u"Polsk Punk",             // 134
    u"Beat",                   // 135
    u"Christian Gangsta Rap",  // 136
    u"Heavy Metal",            // 137
    u"Black Metal",            // 138
    u"Crossover",              // 139
    u"Contemporary Christian", // 140
    u"Christian Rock",         // 141
    u"Merengue",               // 142
    u"Salsa",                  // 143
    u"Thrash Metal",           // 144
    u"Anime",                  // 145
    u"Jpop",                   // 146
    u"Synthpop",               // 147
};

} // namespace Tags::ID3v1Tag
