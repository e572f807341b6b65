// Record load benchmark: a folder of tagged MP3 files is read into file records, and the same
// fields and audio properties are read with TagLib, warm cache, best of several passes.
//
//   record_bench [files] [passes]

#include "BenchFiles.h"

#include "base/Path.h"
#include "base/String.h"
#include "browser/FileAssocData.h"

#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace Bench;

namespace
{

void LoadTagLib(const std::vector<std::string>& paths, tagSUM& sum)
{
    for (const std::string& strPath : paths)
    {
        TagLib::MPEG::File file(strPath.c_str(), true, TagLib::AudioProperties::Average);
        const TagLib::Tag* pTag = file.tag();
        const TagLib::AudioProperties* pProperties = file.audioProperties();
        if (!file.isValid() || !pTag || !pProperties)
        {
            std::fprintf(stderr, "TagLib cannot read %s\n", strPath.c_str());
            std::exit(1);
        }
        sum.nText += pTag->title().toWString().size() + pTag->artist().toWString().size() +
                     pTag->album().toWString().size() + std::to_wstring(pTag->year()).size() +
                     pTag->comment().toWString().size() + pTag->genre().toWString().size();
        sum.nNumbers += static_cast<long long>(pTag->track()) + pProperties->lengthInSeconds() +
                        pProperties->bitrate() + pProperties->sampleRate() +
                        pProperties->channels() + file.length();
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int nFiles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    const int nPasses = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    CBenchFolder folder;
    std::printf("generating %d files in %s\n", nFiles, folder.GetPath().c_str());
    WriteTrackFiles(folder.GetPath(), nFiles);
    const std::vector<CString> recordPaths = TrackPaths(folder.GetPath(), nFiles);
    std::vector<std::string> tagLibPaths;
    for (const CString& strPath : recordPaths)
        tagLibPaths.push_back(Path::ToNative(strPath));

    // Both readers must see the same file.
    {
        CFileAssocData record;
        record.Load(recordPaths[0]);
        TagLib::MPEG::File file(tagLibPaths[0].c_str(), true, TagLib::AudioProperties::Average);
        const bool bSame = record.m_strTitle.ToUtf8() == file.tag()->title().to8Bit(true) &&
                           record.m_strArtist.ToUtf8() == file.tag()->artist().to8Bit(true) &&
                           record.m_nTrack == static_cast<int>(file.tag()->track()) &&
                           record.m_nSampleRate == file.audioProperties()->sampleRate() &&
                           record.m_nChannels == file.audioProperties()->channels() &&
                           record.m_nLength == file.audioProperties()->lengthInSeconds();
        std::printf("first file: tag %s, %d kbit/s, %d Hz, %d s; TagLib %d kbit/s, %d s%s\n",
                    record.m_strTag.ToUtf8().c_str(), record.m_nBitrate, record.m_nSampleRate,
                    record.m_nLength, file.audioProperties()->bitrate(),
                    file.audioProperties()->lengthInSeconds(),
                    bSame ? "" : " (THE READERS DISAGREE)");
    }

    // Warm the cache, then alternate the readers and keep each one's best pass.
    tagSUM sumRecords;
    tagSUM sumTagLib;
    LoadRecords(recordPaths, sumRecords);
    LoadTagLib(tagLibPaths, sumTagLib);
    double dBestRecords = 1e300;
    double dBestTagLib = 1e300;
    for (int nPass = 1; nPass <= nPasses; ++nPass)
    {
        const double dRecords =
            MicrosecondsPerItem([&] { LoadRecords(recordPaths, sumRecords); }, recordPaths.size());
        const double dTagLib =
            MicrosecondsPerItem([&] { LoadTagLib(tagLibPaths, sumTagLib); }, tagLibPaths.size());
        dBestRecords = std::min(dBestRecords, dRecords);
        dBestTagLib = std::min(dBestTagLib, dTagLib);
        std::printf("pass %d: tagwright %.2f us/file, taglib %.2f us/file\n", nPass, dRecords,
                    dTagLib);
    }
    std::printf("checksums: %zu/%lld, %zu/%lld\n", sumRecords.nText, sumRecords.nNumbers,
                sumTagLib.nText, sumTagLib.nNumbers);
    std::printf("record load: tagwright %.2f us/file, taglib %.2f us/file, ratio %.2f\n",
                dBestRecords, dBestTagLib, dBestRecords / dBestTagLib);
    return 0;
}
