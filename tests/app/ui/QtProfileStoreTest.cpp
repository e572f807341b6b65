// The Qt profile store: values keep their names, types and exact bytes in the program's INI
// file under the XDG configuration folder.
#include "AppTestEnv.h"

#include "app/AppSettings.h"
#include "app/ui/QtProfileStore.h"
#include "browser/ui/QtString.h"

#include <QFile>
#include <QTest>

namespace
{
const CString kSection(u"Settings");
}

class QtProfileStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void storesAtTheProgramsLocation()
    {
        CAppTestEnv env;
        QCOMPARE(CQtProfileStore::GetDefaultPath(), env.SettingsFile());
        {
            CQtProfileStore store;
            store.WriteProfileInt(kSection, CString(u"WriteID3v1"), 1);
            QVERIFY(store.Flush());
        }
        QVERIFY(QFile::exists(env.SettingsFile()));
        QFile file(env.SettingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.contains("[Settings]"));
        QVERIFY(text.contains("WriteID3v1=1"));
    }

    void valuesSurviveAReopen()
    {
        CAppTestEnv env;
        const CString strTricky(u"/m\u00fcsic/a, b; \"c\" @x =y\\z");
        std::vector<BYTE> bytes = {0, 1, 2, 0xFF, 0, '\n', '\r', ')', '@', 0x80};
        {
            CQtProfileStore store;
            store.WriteProfileInt(kSection, CString(u"Negative"), -5);
            store.WriteProfileInt(kSection, CString(u"Large"), 0x7FFFFFFF);
            store.WriteProfileString(kSection, CString(u"Path"), strTricky);
            store.WriteProfileString(kSection, CString(u"Empty"), CString());
            store.WriteProfileBinary(kSection, CString(u"Blob"), bytes.data(),
                                     static_cast<UINT>(bytes.size()));
            store.WriteProfileBinary(kSection, CString(u"NoBytes"), nullptr, 0);
            store.WriteProfileInt(CString(u"SettingsPro"), CString(u"Other"), 7);
        }
        CQtProfileStore store;
        QCOMPARE(store.GetProfileInt(kSection, CString(u"Negative"), 0), -5);
        QCOMPARE(store.GetProfileInt(kSection, CString(u"Large"), 0), 0x7FFFFFFF);
        QCOMPARE(ToQString(store.GetProfileString(kSection, CString(u"Path"))),
                 ToQString(strTricky));
        QCOMPARE(ToQString(store.GetProfileString(kSection, CString(u"Empty"), CString(u"d"))),
                 QString());
        std::vector<BYTE> read;
        QVERIFY(store.GetProfileBinary(kSection, CString(u"Blob"), read));
        QVERIFY(read == bytes);
        QVERIFY(store.GetProfileBinary(kSection, CString(u"NoBytes"), read));
        QVERIFY(read.empty());
        QCOMPARE(store.GetProfileInt(CString(u"SettingsPro"), CString(u"Other"), 0), 7);
        QCOMPARE(store.GetProfileInt(kSection, CString(u"Other"), 3), 3);
    }

    void typesStayApart()
    {
        CAppTestEnv env;
        CQtProfileStore store;
        const BYTE data[] = {'1', '2'};
        store.WriteProfileBinary(kSection, CString(u"Blob"), data, 2);
        store.WriteProfileString(kSection, CString(u"Text"), CString(u"abc"));
        // A binary value is no integer and no text; a text is no binary value.
        QCOMPARE(store.GetProfileInt(kSection, CString(u"Blob"), 9), 9);
        QCOMPARE(ToQString(store.GetProfileString(kSection, CString(u"Blob"), CString(u"d"))),
                 QStringLiteral("d"));
        std::vector<BYTE> read = {1};
        QVERIFY(!store.GetProfileBinary(kSection, CString(u"Text"), read));
        QVERIFY(read.empty());
        QCOMPARE(store.GetProfileInt(kSection, CString(u"Text"), 4), 4);
        QVERIFY(!store.GetProfileBinary(kSection, CString(u"Missing"), read));
    }

    void settingsRoundTrip()
    {
        CAppTestEnv env;
        CAppSettings saved;
        {
            CQtProfileStore store;
            saved.LoadSettings(store);
            saved.m_nID3v2WriteVersion = 4;
            saved.m_nID3v2TextEncoding = 3;
            saved.m_strUserPath = CString(u"/srv/music, old");
            saved.m_bContinueFromLastPath = FALSE;
            saved.SaveSettings(store);
        }
        CQtProfileStore store;
        CAppSettings loaded;
        loaded.LoadSettings(store);
        QCOMPARE(loaded.m_nID3v2WriteVersion, 4);
        QCOMPARE(loaded.m_nID3v2TextEncoding, 3);
        QCOMPARE(ToQString(loaded.m_strUserPath), QStringLiteral("/srv/music, old"));
        QCOMPARE(loaded.m_bContinueFromLastPath, FALSE);
        QCOMPARE(loaded.m_presets.GetCount(), saved.m_presets.GetCount());
    }
};

QTEST_MAIN(QtProfileStoreTest)
#include "QtProfileStoreTest.moc"
