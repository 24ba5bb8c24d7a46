// The WAV tag-reader plug-in library: its one record, the calls the host makes through it, and GetTagger.
// Nothing may throw across these calls into the host, so every call catches everything and answers as
// a failed call would.

#include "core/plugins/taggerrecord.h"
#include "frmwavconfig.h"
#include "wavtagger.h"

#include <QApplication>
#include <QWidget>

#include <cstring>

namespace {

template <class R, class F>
R Guarded(R failed, F&& call) noexcept
{
    try {
        return call();
    } catch (...) {
        return failed;
    }
}

TtaggerRecord& Record();
TwavTagger& Tagger();
TtaggerHandle ownerWindow = 0;

// The host's window that Initialise named, else the window the user works in; the dialog centres on it.
QWidget* OwnerWindow()
{
    if (ownerWindow != 0)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (static_cast<TtaggerHandle>(w->internalWinId()) == ownerWindow)
                return w;
    return QApplication::activeWindow();
}

} // namespace

extern "C" {

static const char* WAVSetArtist(const char* value)
{
    return Guarded<const char*>("", [&] { return Tagger().Artist(value); });
}
static const char* WAVSetTitle(const char* value)
{
    return Guarded<const char*>("", [&] { return Tagger().Title(value); });
}
static const char* WAVSetAlbum(const char* value)
{
    return Guarded<const char*>("", [&] { return Tagger().Album(value); });
}
static const char* WAVSetComment(const char* value)
{
    return Guarded<const char*>("", [&] { return Tagger().Comment(value); });
}
static const char* WAVSetDate(const char* value)
{
    return Guarded<const char*>("", [&] { return Tagger().Date(value); });
}
static const char* WAVSetGenre(const char* value)
{
    return Guarded<const char*>("", [&] { return Tagger().Genre(value); });
}

static int32_t WAVReservedFuncA(void)
{
    return 0;
}

static void WAVReservedFuncB(int32_t, char* first, char* second, int32_t* result)
{
    if (first)
        *first = '\0';
    if (second)
        *second = '\0';
    if (result)
        *result = 1;
}

static void WAVReservedProcC(void) {}

static const char* WAVGetFileExt(void)
{
    return Guarded<const char*>("", [] { return Tagger().FileExt(); });
}

static const char* WAVGetTagType(void)
{
    return Tagger().TagType();
}

static int32_t WAVConfigure(TtaggerHandle)
{
    return Guarded<int32_t>(0, [] {
        // Widgets need a widget application; a host without one (a scanner run) gets no dialog.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return 0;
        TfrmWAVconfig dialog(Tagger().Settings(), OwnerWindow());
        return dialog.exec() == QDialog::Accepted ? 1 : 0;
    });
}

static uint8_t WAVReadFile(const char* fileName)
{
    return Guarded<uint8_t>(0, [&] { return static_cast<uint8_t>(Tagger().ReadFile(fileName) ? 1 : 0); });
}

static int32_t WAVInitialise(TtaggerHandle hostHandle, TtaggerHandle pluginHandle)
{
    Record().HostHandle = hostHandle;
    Record().PluginHandle = pluginHandle;
    ownerWindow = hostHandle;
    return 1;
}

static int32_t WAVReservedFuncD(void)
{
    return 1;
}
static int32_t WAVReservedFuncE(void)
{
    return 1;
}

static void WAVLoadSettings(const char* iniFileName)
{
    Guarded<bool>(false, [&] {
        Tagger().LoadSettings(iniFileName ? iniFileName : "");
        return true;
    });
}

static void WAVSaveSettings(const char* iniFileName)
{
    if (!iniFileName || !*iniFileName)
        return;
    Guarded<bool>(false, [&] {
        Tagger().SaveSettings(iniFileName);
        return true;
    });
}

static int32_t WAVExtCount(void)
{
    return 1;
}

static void WAVGetExtension(int32_t index, char* buffer)
{
    if (!buffer)
        return;
    std::strcpy(buffer, index == 0 ? "wav" : "");
}

} // extern "C"

namespace {

TtaggerRecord record = {
    .Name = "WAV Tag Reader",
    .FileTypes = "WAV Format Audio Files",
    .Version = 256,
    .SupportLevel = 3,
    .PluginHandle = 0,
    .HostHandle = 0,
    .Artist = WAVSetArtist,
    .Title = WAVSetTitle,
    .Album = WAVSetAlbum,
    .Comment = WAVSetComment,
    .TrackNo = 0,
    .Date = WAVSetDate,
    .GenreID = 255,
    .GenreString = WAVSetGenre,
    .ReservedFuncA = WAVReservedFuncA,
    .ReservedFuncB = WAVReservedFuncB,
    .ReservedProcC = WAVReservedProcC,
    .BitRate = 0,
    .Duration = 0,
    .SampleRate = 0,
    .Channels = 0,
    .Extension = WAVGetFileExt,
    .TagType = WAVGetTagType,
    .MediaType = 0,
    .Reserved96 = 0,
    .Reserved100 = 0,
    .Configure = WAVConfigure,
    .Initialise = WAVInitialise,
    .ReadFile = WAVReadFile,
    .ReservedFuncD = WAVReservedFuncD,
    .ReservedFuncE = WAVReservedFuncE,
    .LoadSettings = WAVLoadSettings,
    .SaveSettings = WAVSaveSettings,
    .ExtCount = WAVExtCount,
    .GetExt = WAVGetExtension,
};

// Created when the library is loaded, destroyed (texts, settings and reader with it) when it is unloaded.
TwavTagger tagger(record);

TtaggerRecord& Record()
{
    return record;
}
TwavTagger& Tagger()
{
    return tagger;
}

} // namespace

extern "C" __attribute__((visibility("default"))) TtaggerRecord* GetTagger(void)
{
    return &Record();
}
