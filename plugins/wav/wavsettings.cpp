#include "wavsettings.h"

#include "platform/inifile.h"

// The keys are spelled as earlier versions wrote them ("ParenAlbum" without its t), so that existing
// settings files keep working.
void TwavSettings::Load(const TIniFile& ini)
{
    Mask = ini.ReadString(kSection, "Mask", "%t");
    ParentAlbum = ini.ReadBool(kSection, "ParenAlbum", true);
    ParentArtist = ini.ReadBool(kSection, "ParentArtist", false);
    ParentParentArtist = ini.ReadBool(kSection, "ParentParentArtist", true);
}

void TwavSettings::Save(TIniFile& ini) const
{
    ini.WriteString(kSection, "Mask", Mask);
    ini.WriteBool(kSection, "ParenAlbum", ParentAlbum);
    ini.WriteBool(kSection, "ParentArtist", ParentArtist);
    ini.WriteBool(kSection, "ParentParentArtist", ParentParentArtist);
}
