#include "editor/NameFields.h"

#include "base/LeadingInteger.h"
#include "editor/ActionList.h"
#include "editor/FrameKinds.h"
#include "editor/MultiTagWriting.h"
#include "tags/id3v1/ID3v1.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <memory>
#include <string>

using Tags::ID3v1Tag::CID3v1;
using Tags::ID3v2Tag::CTextFrame;

namespace
{

void SetTextFrame(CActionList& actions, const char* szID, const CString& strValue)
{
    if (strValue.IsEmpty())
        return;
    auto pFrame = CreateNewFrame(szID);
    auto* pText = dynamic_cast<CTextFrame*>(pFrame.get());
    if (!pText)
        return;
    pText->SetValues({strValue});
    actions.AddAction(ACTION_SET, szID, std::move(pFrame));
}

void SetText(CString& strField, const CString& strValue)
{
    if (!strValue.IsEmpty())
        strField = strValue;
}

} // namespace

void GetNameFieldChanges(const tagNAMEFIELDVALUES& fields, int nWriteVersion, CActionList& actions,
                         tagID3V1VALUES& values)
{
    SetTextFrame(actions, "TIT2", fields.strTitle);
    SetTextFrame(actions, "TALB", fields.strAlbum);
    SetTextFrame(actions, "TPE1", fields.strArtist);
    SetTextFrame(actions, "TRCK", fields.strTrack);
    if (!fields.strYear.IsEmpty())
    {
        const bool bVersion4 = nWriteVersion == 4;
        SetTextFrame(actions, bVersion4 ? "TDRC" : "TYER", fields.strYear);
        actions.AddAction(ACTION_REMOVE, bVersion4 ? "TYER" : "TDRC");
    }
    SetTextFrame(actions, "TCON", fields.strGenre);

    values = GetFieldsToKeep();
    SetText(values.strTitle, fields.strTitle);
    SetText(values.strAlbum, fields.strAlbum);
    SetText(values.strArtist, fields.strArtist);
    SetText(values.strYear, fields.strYear);
    // Only a track that starts with a number: "A1" must not become track 0 (none).
    LONGLONG nTrack = 0;
    if (ParseLeadingInteger(fields.strTrack.str(), nTrack) && nTrack >= 0 &&
        nTrack <= TRACK_NUMBER_MAX)
        values.strTrack = CString::FromUtf8(std::to_string(nTrack));
    if (!fields.strGenre.IsEmpty())
    {
        const int nGenre = CID3v1::FindGenre(fields.strGenre);
        if (nGenre >= 0)
            values.nGenre = nGenre;
    }
}
