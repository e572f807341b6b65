#include "rename/RenamePlan.h"

#include "browser/FileAssocData.h"
#include "rename/AutoRename.h"

void AddSelectedRecords(CAutoRename& engine, const std::vector<CFileAssocData*>& arrRecords)
{
    int nIndex = 0;
    for (CFileAssocData* pRecord : arrRecords)
    {
        if (pRecord)
        {
            pRecord->m_bStale = FALSE;
            engine.AddRecord(pRecord, nIndex);
        }
        ++nIndex;
    }
}

ERenameImage GetNewNameImage(const tagRENAMEITEM& item)
{
    if (!item.bCanRename)
        return RENAME_IMAGE_CLASH;
    return item.bAllFields ? RENAME_IMAGE_READY : RENAME_IMAGE_PARTIAL;
}

EAlteredName CheckAlteredName(const CString& strText, CString* pstrName)
{
    CString strName = strText;
    strName.Trim();
    if (pstrName)
        *pstrName = strName;
    if (strName.IsEmpty())
        return EAlteredName::Blank;
    // The colon too, although the message does not name it.
    if (strName.FindOneOf(CString(u"\\/:*?\"<>|")) >= 0)
        return EAlteredName::IllegalCharacter;
    return EAlteredName::Valid;
}
