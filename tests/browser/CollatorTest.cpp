#include "browser/Collator.h"

#include "browser/FileAssocData.h"
#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <locale.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace
{

// newlocale keeps the parsed LOCPATH for good; that block is the C library's, not ours.
class CLeaksIgnored
{
public:
#if defined(__SANITIZE_ADDRESS__)
    CLeaksIgnored()
    {
        __lsan_disable();
    }
    ~CLeaksIgnored()
    {
        __lsan_enable();
    }
#endif
};

std::unique_ptr<CCollator> MakeCollator(const char* pszLocale = "")
{
    [[maybe_unused]] const CLeaksIgnored ignored;
    return std::make_unique<CCollator>(pszLocale);
}

// A locale with real collation rules. The machine may have only C and POSIX installed; then
// one is compiled from the system's locale sources into a private folder when the tools are
// there.
class LocaleCollationTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
#ifdef _WIN32
        // The system's own locales; the POSIX name is taken as the system's "en-US".
        if (::IsValidLocaleName(L"en-US"))
            s_strLocale = "en_US.UTF-8";
#else
        const char* const names[] = {"en_US.UTF-8", "en_US.utf8", "en_GB.UTF-8", "de_DE.UTF-8"};
        for (const char* pszName : names)
        {
            if (locale_t l = ::newlocale(LC_COLLATE_MASK, pszName, static_cast<locale_t>(0)))
            {
                ::freelocale(l);
                s_strLocale = pszName;
                return;
            }
        }
        s_pDir = std::make_unique<Fixtures::CTempDir>();
        const std::string strTarget = (s_pDir->GetPath() / "en_US.UTF-8").string();
        const std::string strCommand =
            "localedef -i en_US -f UTF-8 '" + strTarget + "' >/dev/null 2>&1";
        if (std::system(strCommand.c_str()) != 0)
            return;
        // LOCPATH is read when a locale is made; afterwards the data stays loaded.
        ::setenv("LOCPATH", s_pDir->GetPath().c_str(), 1);
        s_strLocale = "en_US.UTF-8";
#endif
    }

    static void TearDownTestSuite()
    {
#ifndef _WIN32
        if (s_pDir)
            ::unsetenv("LOCPATH");
#endif
        s_pDir.reset();
    }

    void SetUp() override
    {
        if (s_strLocale.empty())
            GTEST_SKIP() << "no locale with collation rules is installed and none could be built "
                            "(localedef and the en_US sources are missing)";
    }

    static std::string s_strLocale;
    static std::unique_ptr<Fixtures::CTempDir> s_pDir;
};

std::string LocaleCollationTest::s_strLocale;
std::unique_ptr<Fixtures::CTempDir> LocaleCollationTest::s_pDir;

// Sorting by keys must give exactly the order of the comparison, ties included.
void ExpectKeysAgreeWithCompare(const CCollator& collator)
{
    const CString texts[] = {u"",
                             u"a",
                             u"A",
                             u"b",
                             u"B",
                             u"apple",
                             u"Apple",
                             u"app",
                             u"\u00e9t\u00e9",
                             u"ete",
                             u"f",
                             u"10",
                             u"9",
                             u"a b",
                             u"a-b",
                             u"ab",
                             u"same",
                             u"\U0001F600",
                             u"\U0001F601",
                             CString(std::u16string(1, u'\xD800')),
                             u"z"};
    for (const CString& a : texts)
    {
        for (const CString& b : texts)
        {
            const int nCompare = collator.Compare(a, b);
            const CCollator::SortKey keyA = collator.GetSortKey(a);
            const CCollator::SortKey keyB = collator.GetSortKey(b);
            const int nKeys = keyA < keyB ? -1 : (keyB < keyA ? 1 : 0);
            EXPECT_EQ(nKeys, nCompare) << a.ToUtf8() << " / " << b.ToUtf8();
        }
    }
}

} // namespace

TEST_F(LocaleCollationTest, SortKeysOrderAsTheComparison)
{
    ExpectKeysAgreeWithCompare(*MakeCollator(s_strLocale.c_str()));
}

TEST(CollatorTest, SortKeysOrderAsTheComparisonInTheCLocaleAndWithout)
{
    ExpectKeysAgreeWithCompare(CCollator("C"));
    ExpectKeysAgreeWithCompare(CCollator("xx_NOWHERE.UTF-8"));
}

TEST_F(LocaleCollationTest, OrdersLettersAsTheLanguageDoesAndKeepsCase)
{
    const auto pCollator = MakeCollator(s_strLocale.c_str());
    const CCollator& collator = *pCollator;
    ASSERT_FALSE(collator.IsOrdinal());
    // Case is a later level than the letter: a, A, b, B.
    EXPECT_LT(collator.Compare(u"a", u"B"), 0);
    EXPECT_LT(collator.Compare(u"apple", u"Banana"), 0);
    EXPECT_NE(collator.Compare(u"a", u"A"), 0);
    EXPECT_LT(collator.Compare(u"A", u"b"), 0);
    // Accented letters go with their base letter.
    EXPECT_LT(collator.Compare(u"\u00e9t\u00e9", u"f"), 0);
    EXPECT_EQ(collator.Compare(u"same", u"same"), 0);
    EXPECT_EQ(collator.Compare(u"", u""), 0);
    EXPECT_LT(collator.Compare(u"", u"a"), 0);
    // Characters beyond the basic plane compare without trouble.
    EXPECT_NE(collator.Compare(u"\U0001F600", u"\U0001F601"), 0);
}

#ifndef _WIN32
// Windows takes the user's locale from the system, not from the environment.
TEST_F(LocaleCollationTest, RecordsSortByTheUsersLocaleFromTheEnvironment)
{
    const char* pszOld = std::getenv("LC_ALL");
    const std::string strOld = pszOld ? pszOld : "";
    ::setenv("LC_ALL", s_strLocale.c_str(), 1);
    const auto pCollator = MakeCollator();
    const CCollator& collator = *pCollator;
    if (pszOld)
        ::setenv("LC_ALL", strOld.c_str(), 1);
    else
        ::unsetenv("LC_ALL");

    CFileAssocData a;
    CFileAssocData b;
    a.m_strArtist = u"abba";
    b.m_strArtist = u"Beatles";
    EXPECT_LT(CFileAssocData::Compare(a, b, CFileAssocData::FIELD_ARTIST, collator), 0);
    EXPECT_GT(CFileAssocData::Compare(b, a, CFileAssocData::FIELD_ARTIST, collator), 0);
}
#endif

TEST(CollatorTest, CodePointOrderInTheCLocale)
{
    const CCollator collator("C");
    EXPECT_FALSE(collator.IsOrdinal());
    EXPECT_LT(collator.Compare(u"B", u"a"), 0);
    EXPECT_GT(collator.Compare(u"\u00e9", u"f"), 0);
}

TEST(CollatorTest, FallsBackToOrdinalWithoutTheLocale)
{
    const CCollator collator("xx_NOWHERE.UTF-8");
    EXPECT_TRUE(collator.IsOrdinal());
    EXPECT_LT(collator.Compare(u"B", u"a"), 0);
    EXPECT_EQ(collator.Compare(u"x", u"x"), 0);
    EXPECT_GT(collator.Compare(u"xy", u"x"), 0);
    EXPECT_EQ(collator.Compare(u"ab", u"aa"), 1);
}
