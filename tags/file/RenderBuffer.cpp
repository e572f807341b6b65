#include "tags/file/RenderBuffer.h"

#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>
#include <utility>

namespace Tags
{

UINT CRenderBuffer::Grow(UINT nCount)
{
    const size_t nOld = m_bytes.size();
    if (nCount > std::numeric_limits<UINT>::max() - nOld)
    {
        throw std::length_error("render buffer beyond 4 GiB");
    }
    m_bytes.resize(nOld + nCount, 0);
    return static_cast<UINT>(nOld);
}

BYTE* CRenderBuffer::Append(UINT nCount)
{
    const UINT nOffset = Grow(nCount);
    return m_bytes.data() + nOffset;
}

void CRenderBuffer::Append(const void* pData, UINT nCount)
{
    if (nCount == 0)
    {
        return;
    }
    // The source may lie inside this buffer, which growing moves.
    const BYTE* pSource = static_cast<const BYTE*>(pData);
    const BYTE* pBegin = m_bytes.data();
    if (!m_bytes.empty() && std::less_equal<const BYTE*>()(pBegin, pSource) &&
        std::less<const BYTE*>()(pSource, pBegin + m_bytes.size()))
    {
        const size_t nSourceOffset = static_cast<size_t>(pSource - pBegin);
        BYTE* pDest = Append(nCount);
        std::memmove(pDest, m_bytes.data() + nSourceOffset, nCount);
        return;
    }
    BYTE* pDest = Append(nCount);
    std::memcpy(pDest, pSource, nCount);
}

void CRenderBuffer::AppendByte(BYTE b)
{
    *Append(1) = b;
}

void CRenderBuffer::Truncate(UINT nLength)
{
    if (nLength < m_bytes.size())
    {
        m_bytes.resize(nLength);
    }
}

std::vector<BYTE> CRenderBuffer::Detach()
{
    std::vector<BYTE> bytes = std::move(m_bytes);
    m_bytes.clear();
    return bytes;
}

} // namespace Tags
