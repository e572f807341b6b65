#include "tags/id3v2/frames/CommentsFrame.h"
#include "tags/id3v2/frames/PictureFrame.h"
#include "tags/id3v2/frames/PictureFrameV22.h"
#include "tags/id3v2/frames/PlayCounterFrame.h"
#include "tags/id3v2/frames/PopularimeterFrame.h"
#include "tags/id3v2/frames/PrivateFrame.h"
#include "tags/id3v2/frames/TermOfUseFrame.h"
#include "tags/id3v2/frames/UnsynchronizedLyricsFrame.h"
#include "tags/id3v2/frames/UrlLinkFrame.h"
#include "tags/id3v2/frames/UserUrlLinkFrame.h"

#include "FrameLayoutBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

using namespace FrameLayout;
using namespace Tags::ID3v2Tag;

namespace
{

struct Layout
{
    const char* szName;
    std::function<std::unique_ptr<CFrame>()> make;
    Bytes body;
};

// Every layout in every encoding it can hold, with every field present.
std::vector<Layout> Layouts()
{
    std::vector<Layout> layouts;
    for (BYTE nEncoding : {0, 1, 2, 3, 9})
    {
        const bool bWide = nEncoding == 1 || nEncoding == 2 || nEncoding == 9;
        const Bytes zero = bWide ? Bytes{0, 0} : Bytes{0};
        const Bytes text =
            nEncoding == 1 ? Utf16(u"Ab") : (bWide ? Bytes{0, 'A', 0, 'b'} : Text("Ab"));
        layouts.push_back({"APIC", [] { return std::make_unique<CPictureFrame>(); },
                           Join({{nEncoding}, Text("image/png"), {0, 3}, text, zero, {1, 2, 3}})});
        layouts.push_back({"PIC",
                           [] { return std::make_unique<CPictureFrameV22>(nullptr, 0, nullptr); },
                           Join({{nEncoding}, Text("PNG"), {3}, text, zero, {1, 2, 3}})});
        layouts.push_back({"COMM", [] { return std::make_unique<CCommentsFrame>(); },
                           Join({{nEncoding}, Text("eng"), text, zero, text, zero})});
        layouts.push_back({"USLT", [] { return std::make_unique<CUnsynchronizedLyricsFrame>(); },
                           Join({{nEncoding}, Text("eng"), text, zero, text, zero})});
        layouts.push_back({"USER", [] { return std::make_unique<CTermOfUseFrame>(); },
                           Join({{nEncoding}, Text("eng"), text, zero})});
        layouts.push_back({"WXXX", [] { return std::make_unique<CUserUrlLinkFrame>(); },
                           Join({{nEncoding}, text, zero, Text("http://a.test"), {0}})});
    }
    layouts.push_back({"WOAR", [] { return std::make_unique<CUrlLinkFrame>("WOAR", 4); },
                       Join({Text("http://a.test"), {0}})});
    layouts.push_back({"POPM", [] { return std::make_unique<CPopularimeterFrame>(); },
                       Join({Text("a@b"), {0, 200, 0, 0, 1, 0, 7}})});
    layouts.push_back(
        {"PCNT", [] { return std::make_unique<CPlayCounterFrame>(); }, {0, 0, 1, 0, 7}});
    layouts.push_back({"PRIV", [] { return std::make_unique<CPrivateFrame>(); },
                       Join({Text("owner"), {0, 1, 2, 0}})});
    return layouts;
}

} // namespace

// Each prefix of a body is handed over in a buffer of exactly its size, so that a read past the
// end is caught by the address sanitizer; whatever was read renders and parses again.
TEST(FrameLayoutTruncationTest, EveryPrefixOfEveryLayoutIsReadWithinItsBytes)
{
    for (const Layout& layout : Layouts())
    {
        for (size_t n = 0; n <= layout.body.size(); ++n)
        {
            auto pPrefix = std::make_unique<BYTE[]>(n == 0 ? 1 : n);
            std::copy(layout.body.begin(), layout.body.begin() + static_cast<long>(n),
                      pPrefix.get());
            auto pFrame = layout.make();
            pFrame->Parse(n == 0 ? nullptr : pPrefix.get(), static_cast<UINT>(n));
            pFrame->Parse(pPrefix.get(), static_cast<UINT>(n));
            const Bytes rendered = RenderBody(*pFrame);
            EXPECT_FALSE(rendered.empty()) << layout.szName << " prefix " << n;

            // The 2.2 picture layout is written as an APIC frame.
            std::unique_ptr<CFrame> pBack = std::strcmp(layout.szName, "PIC") == 0
                                                ? std::make_unique<CPictureFrame>()
                                                : layout.make();
            ParseInto(*pBack, rendered);
            EXPECT_EQ(pBack->GetText().ToUtf8(), pFrame->GetText().ToUtf8())
                << layout.szName << " prefix " << n;
            (void)pFrame->Clone()->GetText();
        }
    }
}
