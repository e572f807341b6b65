#include "editor/ActionList.h"

#include <cstring>

using Tags::ID3v2Tag::CFrame;

CActionList::Action::Action(int nType, const char* szID, std::unique_ptr<CFrame> pFrame)
{
    for (size_t i = 0; szID && szID[i] && i + 1 < sizeof(m_szFrameID); ++i)
        m_szFrameID[i] = szID[i];
    if (nType == ACTION_SET)
        Set(std::move(pFrame));
    else if (nType == ACTION_REMOVE)
        Remove();
}

CActionList::Action::~Action() = default;

void CActionList::Action::Set(std::unique_ptr<CFrame> pFrame)
{
    m_pFrame = std::move(pFrame);
    m_nType = m_pFrame ? ACTION_SET : ACTION_KEEP;
}

void CActionList::Action::Remove()
{
    m_pFrame.reset();
    m_nType = ACTION_REMOVE;
}

void CActionList::Action::Keep()
{
    m_pFrame.reset();
    m_nType = ACTION_KEEP;
}

CString CActionList::Action::GetValueText() const
{
    switch (m_nType)
    {
    case ACTION_SET:
        return m_pFrame ? m_pFrame->GetText() : CString();
    case ACTION_REMOVE:
        return CString(PLACEHOLDER_REMOVE);
    default:
        return CString(PLACEHOLDER_KEEP);
    }
}

CActionList::Action* CActionList::FindAction(const char* szID) const
{
    if (!szID)
        return nullptr;
    for (const auto& pAction : m_actions)
    {
        if (std::strcmp(pAction->m_szFrameID, szID) == 0)
            return pAction.get();
    }
    return nullptr;
}

CActionList::Action* CActionList::AddAction(int nType, const char* szID,
                                            std::unique_ptr<CFrame> pFrame)
{
    if (!szID || !*szID)
        return nullptr;
    auto pNew = std::make_unique<Action>(nType, szID, std::move(pFrame));
    if (Action* pOld = FindAction(pNew->m_szFrameID))
    {
        if (pNew->m_nType == ACTION_SET)
            pOld->Set(std::move(pNew->m_pFrame));
        else if (pNew->m_nType == ACTION_REMOVE)
            pOld->Remove();
        else
            pOld->Keep();
        return pOld;
    }
    m_actions.push_back(std::move(pNew));
    return m_actions.back().get();
}

CActionList::Action* CActionList::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    return m_actions[static_cast<size_t>(nIndex)].get();
}
