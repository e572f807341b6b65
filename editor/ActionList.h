// The multi-file editor's frame changes: one action per frame ID, saying whether the files keep
// their frames of that ID, get them replaced by one frame, or lose them. The list is the
// dialog's frame list in data; it is applied to every file on OK.
#pragma once

#include "base/String.h"
#include "tags/id3v2/ID3v2Frame.h"

#include <memory>
#include <vector>

enum ACTION_TYPE : int
{
    ACTION_KEEP = 0,   // the files' frames with the ID stay as they are
    ACTION_SET = 1,    // every frame with the ID is replaced by a copy of the action's frame
    ACTION_REMOVE = 2, // every frame with the ID is deleted
};

class CActionList
{
public:
    class Action
    {
    public:
        // The type and the frame are normalised as Set, Remove and Keep leave them: a frame
        // only with ACTION_SET, and ACTION_SET only with a frame (without one it is a Keep, so
        // that no file loses frames for nothing). Up to four characters of szID are taken.
        Action(int nType, const char* szID, std::unique_ptr<Tags::ID3v2Tag::CFrame> pFrame);
        virtual ~Action();
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

        // ACTION_SET with this frame, which the action then owns (the one it held is
        // destroyed); a null frame makes it ACTION_KEEP.
        void Set(std::unique_ptr<Tags::ID3v2Tag::CFrame> pFrame);
        // ACTION_REMOVE / ACTION_KEEP; the frame, if any, is destroyed.
        void Remove();
        void Keep();

        // The "Value" column of the action's row: "<Keep>", the frame's GetText(), "<Remove>".
        CString GetValueText() const;

        int m_nType = ACTION_KEEP;
        char m_szFrameID[5] = {};
        std::unique_ptr<Tags::ID3v2Tag::CFrame> m_pFrame;
        // The action's row in the frame list; -1 until the row exists.
        int m_nItem = -1;
    };

    CActionList() = default;
    CActionList(const CActionList&) = delete;
    CActionList& operator=(const CActionList&) = delete;

    // The action whose frame ID equals szID exactly (case-sensitive), or null.
    Action* FindAction(const char* szID) const;
    // A new action (row -1) appended at the end; null for a null or empty ID. An ID the list
    // already has an action for gets no second one: that action takes the new type and frame
    // and is returned, its row kept.
    Action* AddAction(int nType, const char* szID,
                      std::unique_ptr<Tags::ID3v2Tag::CFrame> pFrame = nullptr);

    int GetCount() const { return static_cast<int>(m_actions.size()); }
    // The action at nIndex in list order, or null outside the list.
    Action* GetAt(int nIndex) const;

    auto begin() const { return m_actions.begin(); }
    auto end() const { return m_actions.end(); }

private:
    std::vector<std::unique_ptr<Action>> m_actions;
};

// The frame list's placeholders, compared as whole texts.
inline constexpr char16_t PLACEHOLDER_KEEP[] = u"<Keep>";
inline constexpr char16_t PLACEHOLDER_REMOVE[] = u"<Remove>";
