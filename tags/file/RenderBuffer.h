// The growing buffer every Render of the tag library appends to: it starts empty, each renderer
// enlarges it to hold its output after the bytes already there and writes into the new part.
// The buffer owns its bytes; lengths stay within the 32-bit model of the tag library.
#pragma once

#include "base/Types.h"

#include <vector>

namespace Tags
{

class CRenderBuffer
{
public:
    CRenderBuffer() = default;

    UINT GetLength() const { return static_cast<UINT>(m_bytes.size()); }
    BOOL IsEmpty() const { return m_bytes.empty(); }
    const BYTE* GetData() const { return m_bytes.data(); }
    BYTE* GetData() { return m_bytes.data(); }
    const std::vector<BYTE>& GetBytes() const { return m_bytes; }

    // Appends nCount zero bytes and returns the offset of the first of them. Pointers into the
    // buffer are invalidated; offsets stay valid. Throws std::length_error past 4 GiB.
    UINT Grow(UINT nCount);
    // Appends nCount zero bytes and returns a pointer to the first of them, valid until the
    // buffer grows again.
    BYTE* Append(UINT nCount);
    void Append(const void* pData, UINT nCount);
    void AppendByte(BYTE b);

    BYTE& operator[](UINT nOffset) { return m_bytes[nOffset]; }
    BYTE operator[](UINT nOffset) const { return m_bytes[nOffset]; }

    // Cuts the buffer to nLength bytes (no effect when it is shorter).
    void Truncate(UINT nLength);
    void Empty() { m_bytes.clear(); }
    // Hands the bytes over and leaves the buffer empty.
    std::vector<BYTE> Detach();

private:
    std::vector<BYTE> m_bytes;
};

} // namespace Tags
