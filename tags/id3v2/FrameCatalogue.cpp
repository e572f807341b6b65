#include "tags/id3v2/FrameCatalogue.h"

#include <cstring>

namespace Tags::ID3v2Tag
{

namespace
{

constexpr tagFRAMEDESCRIPTION kDescriptions[FRAME_DESCRIPTION_COUNT] = {
    {"AENC", "Encryption"},
    {"APIC", "Picture"},
    {"ASPI", "Audio Seek Point"},
    {"COMM", "Comments"},
    {"COMR", "Commercial Info"},
    {"ENCR", "Encryption Method"},
    {"EQU2", "Equalisation"},
    {"EQUA", "Equalization"},
    {"ETCO", "Event Timing Codes"},
    {"GEOB", "Object"},
    {"GRID", "Group Identification"},
    {"IPLS", "Involved People"},
    {"LINK", "Linked Information"},
    {"MCDI", "Music CD Identifier"},
    {"MLLT", "MPEG Location"},
    {"OWNE", "Ownership"},
    {"PCNT", "Play Counter"},
    {"POPM", "Popularimeter"},
    {"POSS", "Position"},
    {"PRIV", "Private"},
    {"RBUF", "Buffer Size"},
    {"RVA2", "Volume"},
    {"RVAD", "Volume"},
    {"RVRB", "Reverb"},
    {"SEEK", "Seek"},
    {"SIGN", "Signature"},
    {"SYLT", "Synchronized Lyric"},
    {"SYTC", "Tempo"},
    {"TALB", "Album"},
    {"TBPM", "BPM"},
    {"TCOM", "Composer"},
    {"TCON", "Genre"},
    {"TCOP", "Copyright"},
    {"TDAT", "Date"},
    {"TDEN", "Encoding Time"},
    {"TDLY", "Playlist Delay"},
    {"TDOR", "Original Year"},
    {"TDRC", "Recording Time"},
    {"TDRL", "Release Time"},
    {"TDTG", "Tagging Time"},
    {"TENC", "Encoded by"},
    {"TEXT", "Lyricist"},
    {"TFLT", "File Type"},
    {"TIME", "Time"},
    {"TIPL", "Involved People"},
    {"TIT1", "Content Group"},
    {"TIT2", "Title"},
    {"TIT3", "Subtitle"},
    {"TKEY", "Initial Key"},
    {"TLAN", "Language"},
    {"TLEN", "Length"},
    {"TMCL", "Musician Credits"},
    {"TMED", "Media Type"},
    {"TMOO", "Mood"},
    {"TOAL", "Original Album"},
    {"TOFN", "Original Filename"},
    {"TOLY", "Original Lyricist"},
    {"TOPE", "Original Artist"},
    {"TORY", "Original Year"},
    {"TOWN", "File Owner"},
    {"TPE1", "Artist"},
    {"TPE2", "Album Artist"},
    {"TPE3", "Conductor"},
    {"TPE4", "Mixed by"},
    {"TPOS", "Disc Number"},
    {"TPRO", "Produced Notice"},
    {"TPUB", "Publisher"},
    {"TRCK", "Track"},
    {"TRDA", "Recording Date"},
    {"TRSN", "NetRadio Station"},
    {"TRSO", "NetRadio Owner"},
    {"TSIZ", "Size"},
    {"TSOA", "Album Sort"},
    {"TSOP", "Performer Sort"},
    {"TSOT", "Title Sort"},
    {"TSRC", "ISRC"},
    {"TSSE", "Encoder Settings"},
    {"TSST", "Set Subtitle"},
    {"TXXX", "Custom Text Field"},
    {"TYER", "Year"},
    {"UFID", "File Identifier"},
    {"USER", "Terms of Use"},
    {"USLT", "Unsychronized Lyric"},
    {"WCOM", "URL- Commercial Information"},
    {"WCOP", "URL- Copyright"},
    {"WOAF", "URL- Audio File"},
    {"WOAR", "URL- Artist"},
    {"WOAS", "URL- Audio Source"},
    {"WORS", "URL- Radio Page"},
    {"WPAY", "URL- Payment"},
    {"WPUB", "URL- Publisher"},
    {"WXXX", "Custom URL Field"},
};

constexpr tagADDABLEFRAME kAddable[ADDABLE_FRAME_COUNT] = {
    {"APIC", 1},  {"COMM", 2},  {"POPM", 3},  {"TALB", 4},  {"TBPM", 5},  {"TCOM", 6},
    {"TCON", 7},  {"TCOP", 8},  {"TDAT", 9},  {"TDEN", 10}, {"TDLY", 11}, {"TDOR", 12},
    {"TDRC", 13}, {"TDRL", 14}, {"TDTG", 15}, {"TENC", 16}, {"TEXT", 17}, {"TFLT", 18},
    {"TIME", 19}, {"TIPL", 20}, {"TIT1", 21}, {"TIT2", 22}, {"TIT3", 23}, {"TKEY", 24},
    {"TLAN", 25}, {"TLEN", 26}, {"TMCL", 27}, {"TMED", 28}, {"TMOO", 29}, {"TOAL", 30},
    {"TOFN", 31}, {"TOLY", 32}, {"TOPE", 33}, {"TORY", 34}, {"TOWN", 35}, {"TPE1", 36},
    {"TPE2", 37}, {"TPE3", 38}, {"TPE4", 39}, {"TPOS", 40}, {"TPRO", 41}, {"TPUB", 42},
    {"TRCK", 43}, {"TRSN", 44}, {"TRSO", 45}, {"TSIZ", 46}, {"TSOA", 47}, {"TSOP", 48},
    {"TSOT", 49}, {"TSRC", 50}, {"TSSE", 51}, {"TSST", 52}, {"TXXX", 53}, {"TYER", 54},
    {"USER", 55}, {"USLT", 56}, {"WCOM", 57}, {"WCOP", 58}, {"WOAF", 59}, {"WOAR", 60},
    {"WOAS", 61}, {"WORS", 62}, {"WPAY", 63}, {"WPUB", 64}, {"WXXX", 65},
};

constexpr tagV22MAPPING kV22[V22_MAPPING_COUNT] = {
    {"BUF", "RBUF"}, {"CNT", "PCNT"}, {"COM", "COMM"}, {"CRA", "AENC"}, {"ETC", "ETCO"},
    {"GEO", "GEOB"}, {"IPL", "TIPL"}, {"MCI", "MCDI"}, {"MLL", "MLLT"}, {"POP", "POPM"},
    {"REV", "RVRB"}, {"SLT", "SYLT"}, {"STC", "SYTC"}, {"TAL", "TALB"}, {"TBP", "TBPM"},
    {"TCM", "TCOM"}, {"TCO", "TCON"}, {"TCR", "TCOP"}, {"TDY", "TDLY"}, {"TEN", "TENC"},
    {"TFT", "TFLT"}, {"TKE", "TKEY"}, {"TLA", "TLAN"}, {"TLE", "TLEN"}, {"TMT", "TMED"},
    {"TOA", "TOPE"}, {"TOF", "TOFN"}, {"TOL", "TOLY"}, {"TOR", "TDOR"}, {"TOT", "TOAL"},
    {"TP1", "TPE1"}, {"TP2", "TPE2"}, {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TPA", "TPOS"},
    {"TPB", "TPUB"}, {"TRC", "TSRC"}, {"TRD", "TDRC"}, {"TRK", "TRCK"}, {"TSS", "TSSE"},
    {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TXT", "TEXT"}, {"TXX", "TXXX"},
    {"TYE", "TDRC"}, {"UFI", "UFID"}, {"ULT", "USLT"}, {"WAF", "WOAF"}, {"WAR", "WOAR"},
    {"WAS", "WOAS"}, {"WCM", "WCOM"}, {"WCP", "WCOP"}, {"WPB", "WPUB"}, {"WXX", "WXXX"},
};

// iTunes writes these ID3v2.2 frames; they have well-known four-character forms, and without
// them a save into 2.3 or 2.4 would drop the compilation flag and the sort orders.
constexpr tagV22MAPPING kV22Itunes[] = {
    {"TCP", "TCMP"}, {"TST", "TSOT"}, {"TSA", "TSOA"},
    {"TSP", "TSOP"}, {"TS2", "TSO2"}, {"TSC", "TSOC"},
};

constexpr const char* kUnmappedV22[] = {"CRM", "EQU", "LNK", "RVA", "TDA", "TIM", "TSI"};

} // namespace

std::span<const tagFRAMEDESCRIPTION> GetFrameDescriptions()
{
    return kDescriptions;
}

std::span<const tagADDABLEFRAME> GetAddableFrames()
{
    return kAddable;
}

std::span<const tagV22MAPPING> GetV22Mappings()
{
    return kV22;
}

const char* GetFrameDescription(const char* szID)
{
    if (!szID)
        return nullptr;
    int nLow = 0;
    int nHigh = FRAME_DESCRIPTION_COUNT - 1;
    while (nLow <= nHigh)
    {
        const int nMiddle = (nLow + nHigh) / 2;
        const int nCompare = std::strcmp(szID, kDescriptions[nMiddle].szID);
        if (nCompare == 0)
            return kDescriptions[nMiddle].szDescription;
        if (nCompare < 0)
            nHigh = nMiddle - 1;
        else
            nLow = nMiddle + 1;
    }
    return nullptr;
}

const char* MapV22FrameID(const char* szV22ID)
{
    if (!szV22ID)
        return nullptr;
    for (const auto& m : kV22)
    {
        if (std::strcmp(m.szV22ID, szV22ID) == 0)
            return m.szID;
    }
    for (const auto& m : kV22Itunes)
    {
        if (std::strcmp(m.szV22ID, szV22ID) == 0)
            return m.szID;
    }
    return nullptr;
}

bool IsUnmappedV22FrameID(const char* szV22ID)
{
    if (!szV22ID)
        return false;
    for (const char* id : kUnmappedV22)
    {
        if (std::strcmp(id, szV22ID) == 0)
            return true;
    }
    return false;
}

} // namespace Tags::ID3v2Tag
