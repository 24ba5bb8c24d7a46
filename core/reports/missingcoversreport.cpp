#include "core/reports/missingcoversreport.h"

#include "core/groupings/audiotagartistlist.h"
#include "core/groupings/audiotaglistlist.h"
#include "core/songs/coverfinder.h"
#include "core/util/promptservice.h"

namespace {

// The folder part of a file name, its trailing "/" kept.
std::string FolderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

// Characters, not bytes, so that the underline is as long as the name looks.
std::size_t CharacterCount(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace

std::string TmissingCoversReport::GetDescription() const
{
    return "Creates a list of albums for which an album cover cannot be located.";
}

std::string TmissingCoversReport::GetName() const
{
    return "Missing Album Covers";
}

std::string TmissingCoversReport::GetFilter() const
{
    return "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
}

std::string TmissingCoversReport::GetDefaultExt() const
{
    return "txt";
}

void TmissingCoversReport::Execute()
{
    const TaudioTagArtistList* artists = Artists();
    if (!artists)
        return;
    TStrings lines;
    // One finder for the run: the cover folder is listed once, not once per album.
    TcoverFinder covers(CoverFolder());
    for (int i = 0; i < artists->GetCount(); ++i) {
        bool listed = false;
        if (const TaudioTagArtist* artist = artists->GetArtist(i)) {
            const TaudioTagAlbumList& albums = artist->Albums();
            for (int j = 0; j < albums.GetCount(); ++j) {
                const TaudioTagList* album = albums.GetItem(j);
                // An album without songs has no cover to look for.
                if (!album || album->GetCount() == 0 || !covers.Find(*album->GetItem(0)).empty())
                    continue;
                if (!listed) {
                    lines.Add(artist->Name());
                    lines.Add(std::string(CharacterCount(artist->Name()), '='));
                    listed = true;
                }
                lines.Add("    " + album->Title() + " [" + FolderOf(album->GetItem(0)->Filename()) + "]");
            }
        }
        if (listed)
            lines.Add("");
        DoProgress(i + 1, artists->GetCount());
    }
    WriteAndOpen(lines);
}

void TmissingCoversReport::Configure()
{
    ShowMessageBox("No configuration is Required", ApplicationTitle(), TmessageButtons::Ok,
                   TmessageIcon::None);
}
