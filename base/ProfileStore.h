// The per-user profile (the registry key of the program on Windows, an INI file elsewhere):
// integers, texts and byte arrays by section and name. The program's store is Qt-backed; the
// core and its tests use this interface and the in-memory store.
#pragma once

#include "base/String.h"

#include <map>
#include <utility>
#include <vector>

class IProfileStore
{
public:
    virtual ~IProfileStore() = default;

    virtual int GetProfileInt(const CString& strSection, const CString& strEntry,
                              int nDefault) const = 0;
    virtual BOOL WriteProfileInt(const CString& strSection, const CString& strEntry,
                                 int nValue) = 0;
    virtual CString GetProfileString(const CString& strSection, const CString& strEntry,
                                     const CString& strDefault = CString()) const = 0;
    virtual BOOL WriteProfileString(const CString& strSection, const CString& strEntry,
                                    const CString& strValue) = 0;
    // FALSE when there is no such value (data is then emptied).
    virtual BOOL GetProfileBinary(const CString& strSection, const CString& strEntry,
                                  std::vector<BYTE>& data) const = 0;
    virtual BOOL WriteProfileBinary(const CString& strSection, const CString& strEntry,
                                    const BYTE* pData, UINT nBytes) = 0;
};

// A store in memory, for tests and for runs without a profile. Each value keeps its type: an
// integer asked for as text (or the reverse) is absent, as in the registry.
class CMemoryProfileStore : public IProfileStore
{
public:
    int GetProfileInt(const CString& strSection, const CString& strEntry,
                      int nDefault) const override;
    BOOL WriteProfileInt(const CString& strSection, const CString& strEntry, int nValue) override;
    CString GetProfileString(const CString& strSection, const CString& strEntry,
                             const CString& strDefault = CString()) const override;
    BOOL WriteProfileString(const CString& strSection, const CString& strEntry,
                            const CString& strValue) override;
    BOOL GetProfileBinary(const CString& strSection, const CString& strEntry,
                          std::vector<BYTE>& data) const override;
    BOOL WriteProfileBinary(const CString& strSection, const CString& strEntry, const BYTE* pData,
                            UINT nBytes) override;

    // Whether a value of any type exists, and its removal (tests use both).
    bool HasValue(const CString& strSection, const CString& strEntry) const;
    void RemoveValue(const CString& strSection, const CString& strEntry);

private:
    struct tagVALUE
    {
        enum class Type
        {
            Int,
            String,
            Binary
        } type = Type::Int;
        int nValue = 0;
        CString strValue;
        std::vector<BYTE> data;
    };
    using Key = std::pair<std::u16string, std::u16string>;
    static Key MakeKey(const CString& strSection, const CString& strEntry);
    const tagVALUE* Find(const CString& strSection, const CString& strEntry) const;

    std::map<Key, tagVALUE> m_values;
};
