#include "editor/AddMenu.h"

#include "tags/id3v2/FrameCatalogue.h"

#include <cstring>

using namespace Tags::ID3v2Tag;

namespace
{

// The fixed part by frame ID; null stands for a separator.
constexpr const char* kTopIDs[] = {"TIT2", "TALB",  "TPE1",  "TCON", "TYER",  "TRCK",
                                   "COMM", nullptr, "TCOM",  "TPE2", nullptr, "APIC",
                                   "POPM", "USLT",  nullptr, "TXXX", "WXXX",  nullptr};

tagADDMENUITEM MakeItem(const tagADDABLEFRAME& frame)
{
    tagADDMENUITEM item;
    item.nCommand = frame.nCommand;
    item.szID = frame.szID;
    const char* szDescription = GetFrameDescription(frame.szID);
    item.strText = CString(szDescription ? szDescription : frame.szID);
    return item;
}

tagADDMENUITEM MakeSeparator()
{
    tagADDMENUITEM item;
    item.bSeparator = TRUE;
    return item;
}

const tagADDABLEFRAME* FindAddable(const char* szID)
{
    for (const tagADDABLEFRAME& frame : GetAddableFrames())
    {
        if (std::strcmp(frame.szID, szID) == 0)
            return &frame;
    }
    return nullptr;
}

} // namespace

tagADDMENU BuildAddMenu()
{
    tagADDMENU menu;
    for (const char* szID : kTopIDs)
    {
        if (szID == nullptr)
        {
            menu.arrTop.push_back(MakeSeparator());
            continue;
        }
        // Every ID of the fixed part is in the addable list.
        if (const tagADDABLEFRAME* pFrame = FindAddable(szID))
            menu.arrTop.push_back(MakeItem(*pFrame));
    }
    menu.strAllCaption = CString(u"All");
    for (const tagADDABLEFRAME& frame : GetAddableFrames())
        menu.arrAll.push_back(MakeItem(frame));
    return menu;
}

const char* GetAddMenuFrameID(int nCommand)
{
    for (const tagADDABLEFRAME& frame : GetAddableFrames())
    {
        if (frame.nCommand == nCommand)
            return frame.szID;
    }
    return nullptr;
}
