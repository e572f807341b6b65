#include "editor/FrameDialogFields.h"

#include "base/LeadingInteger.h"
#include "tags/id3v2/FrameCatalogue.h"
#include "tags/id3v2/frames/TextFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include <cstring>
#include <limits>

using namespace Tags::ID3v2Tag;

namespace
{

CString CatalogueDescription(const char* szID)
{
    const char* szDescription = GetFrameDescription(szID);
    return szDescription ? CString(szDescription) : CString();
}

} // namespace

BOOL IsFieldEditable(const char* szID)
{
    return szID != nullptr && std::strcmp(szID, "TXXX") == 0;
}

tagTEXTFRAMEFIELDS GetTextFrameFields(const CTextFrame& frame)
{
    tagTEXTFRAMEFIELDS fields;
    if (!IsFieldEditable(frame.GetID()))
    {
        fields.strField = CatalogueDescription(frame.GetID());
        fields.arrValues = frame.m_values;
        return fields;
    }
    if (frame.m_values.empty())
        return fields;
    fields.strField = frame.m_values.front();
    fields.arrValues.assign(frame.m_values.begin() + 1, frame.m_values.end());
    return fields;
}

std::vector<CString> BuildTextFrameValues(const char* szID, const tagTEXTFRAMEFIELDS& fields)
{
    std::vector<CString> values;
    if (IsFieldEditable(szID))
        values.push_back(fields.strField);
    values.insert(values.end(), fields.arrValues.begin(), fields.arrValues.end());
    return values;
}

BOOL IsUrlDescriptionEditable(const char* szID)
{
    return szID != nullptr && std::strcmp(szID, "WXXX") == 0;
}

CString GetUrlDescription(const CUrlLinkFrame& frame)
{
    if (IsUrlDescriptionEditable(frame.GetID()))
    {
        if (const auto* pUser = dynamic_cast<const CUserUrlLinkFrame*>(&frame))
            return pUser->m_strDescription;
    }
    return CatalogueDescription(frame.GetID());
}

BOOL ParseCounter(const CString& strText, UINT& nCounter)
{
    LONGLONG nValue = 0;
    int nEnd = 0;
    if (!ParseLeadingInteger(strText, nValue, &nEnd))
        return FALSE;
    // The digits must stand alone: no sign before them, nothing but white space after them.
    const int nSign = strText.FindOneOf(CString(u"+-"));
    if (nSign >= 0 && nSign < nEnd)
        return FALSE;
    for (int i = nEnd; i < strText.GetLength(); ++i)
    {
        if (!IsWideSpace(strText[i]))
            return FALSE;
    }
    if (nValue < 0 || nValue > std::numeric_limits<UINT>::max())
        return FALSE;
    nCounter = static_cast<UINT>(nValue);
    return TRUE;
}
