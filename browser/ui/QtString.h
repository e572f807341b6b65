#pragma once

// CString and QString both hold UTF-16 code units, so the conversions are plain copies.

#include "base/String.h"

#include <QString>

inline QString ToQString(const CString& s)
{
    return QString(reinterpret_cast<const QChar*>(s.GetString()), s.GetLength());
}

inline CString ToCString(const QString& s)
{
    return CString(reinterpret_cast<const char16_t*>(s.utf16()), int(s.size()));
}
