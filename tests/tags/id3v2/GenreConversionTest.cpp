#include "tags/id3v2/GenreConversion.h"

#include "FrameTestBytes.h"
#include "tags/id3v2/frames/TextFrame.h"

#include <gtest/gtest.h>

using namespace Tags::ID3v2Tag;

namespace
{

using Values = std::vector<CString>;

Values Convert(const CString& str)
{
    return ConvertGenres(Values{str});
}

} // namespace

TEST(GenreConversion, NumberBecomesTheGenreName)
{
    EXPECT_EQ(Convert(u"(17)"), (Values{u"Rock"}));
    EXPECT_EQ(Convert(u"(0)"), (Values{u"Blues"}));
    EXPECT_EQ(Convert(u"(147)"), (Values{u"Synthpop"}));
    // The closing parenthesis may be missing.
    EXPECT_EQ(Convert(u"(17"), (Values{u"Rock"}));
    // White space before the number is skipped, as the number reader does.
    EXPECT_EQ(Convert(u"( 17)"), (Values{u"Rock"}));
}

TEST(GenreConversion, RefinementWordBecomesAValueOfItsOwn)
{
    EXPECT_EQ(Convert(u"(17)Rock"), (Values{u"Rock", u"Rock"}));
    EXPECT_EQ(Convert(u"(12)Other"), (Values{u"Other", u"Other"}));
    EXPECT_EQ(Convert(u"(31)Trance Music"), (Values{u"Trance", u"Trance"}));
    EXPECT_EQ(Convert(u"(31)  Goa"), (Values{u"Trance", u"Goa"}));
}

TEST(GenreConversion, NumbersOutsideTheTable)
{
    EXPECT_EQ(Convert(u"(148)"), (Values{u""}));
    EXPECT_EQ(Convert(u"(255)"), (Values{u""}));
    EXPECT_EQ(Convert(u"(256)"), Values{});
    EXPECT_EQ(Convert(u"(-1)Jazz"), (Values{u"Jazz"}));
    EXPECT_EQ(Convert(u"(99999999999999999999)Noise"), (Values{u"Noise"}));
}

TEST(GenreConversion, OtherValuesStayAsTheyAre)
{
    EXPECT_EQ(Convert(u"(RX)"), (Values{u"(RX)"}));
    EXPECT_EQ(Convert(u"Metal"), (Values{u"Metal"}));
    EXPECT_EQ(Convert(u""), (Values{u""}));
    EXPECT_EQ(Convert(u"17"), (Values{u"17"}));
    EXPECT_EQ(Convert(u" (17)"), (Values{u" (17)"}));
    EXPECT_EQ(Convert(u"((17)"), (Values{u"((17)"}));
}

TEST(GenreConversion, LongRefinementIsCutToThirtyCharacters)
{
    const CString strLong(u"Abcdefghijklmnopqrstuvwxyz0123456789");
    EXPECT_EQ(Convert(u"(17)" + strLong), (Values{u"Rock", strLong.Left(30)}));
    const CString strExact = strLong.Left(30);
    EXPECT_EQ(Convert(u"(17)" + strExact), (Values{u"Rock", strExact}));
}

TEST(GenreConversion, ConvertsEveryValueOfTheFrameInOrder)
{
    auto pFrame = FrameTest::ReadFrame<CTextFrame>(
        "TCON", {0x00, '(', '1', '7', ')', 0x00, 'M', 'e', 't', 'a', 'l', 0x00, '(', '8', ')'});
    ConvertGenres(*pFrame);
    EXPECT_EQ(pFrame->m_values, (Values{u"Rock", u"Metal", u"Jazz"}));
    EXPECT_EQ(pFrame->GetText(), CString(u"Rock; Metal; Jazz"));
}
