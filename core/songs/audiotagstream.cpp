#include "core/songs/audiotagstream.h"

#include "platform/datetime.h"
#include "platform/scopeguard.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <string_view>

namespace {

// Value type bytes of the component stream.
enum : std::uint8_t
{
    vaNull = 0,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaLString = 12,
    vaDate = 17,
    vaUTF8String = 20,
    vaDouble = 21,
};

// Integer properties without a declared default use this value as "no default": it is never written.
constexpr std::int32_t kNoDefault = INT32_MIN;

bool SameAscii(const char* a, const char* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

void WriteShortString(TstreamWriter& s, std::string_view text)
{
    s.WriteByte(static_cast<std::uint8_t>(text.size()));
    s.WriteBytes(text);
}

void WriteIntProp(TstreamWriter& s, std::string_view name, std::int32_t value)
{
    WriteShortString(s, name);
    if (value >= -128 && value <= 127) {
        s.WriteByte(vaInt8);
        s.WriteByte(static_cast<std::uint8_t>(static_cast<std::int8_t>(value)));
    } else if (value >= -32768 && value <= 32767) {
        s.WriteByte(vaInt16);
        s.WriteInt16(static_cast<std::int16_t>(value));
    } else {
        s.WriteByte(vaInt32);
        s.WriteInt32(value);
    }
}

void WriteUIntProp(TstreamWriter& s, std::string_view name, std::uint32_t value)
{
    const auto v = static_cast<std::int32_t>(value);
    if (v != kNoDefault)
        WriteIntProp(s, name, v);
}

void WriteTextProp(TstreamWriter& s, std::string_view name, const std::string& value)
{
    if (value.empty())
        return;
    WriteShortString(s, name);
    if (value.size() <= 255) {
        s.WriteByte(vaString);
        WriteShortString(s, value);
    } else {
        s.WriteByte(vaLString);
        s.WriteInt32(static_cast<std::int32_t>(value.size()));
        s.WriteBytes(value);
    }
}

// An integer value whose type byte has been read.
std::int32_t ReadIntOfType(TstreamReader& s, std::uint8_t type)
{
    switch (type) {
    case vaInt8:
        return static_cast<std::int8_t>(s.ReadByte());
    case vaInt16:
        return s.ReadInt16();
    case vaInt32:
        return s.ReadInt32();
    default:
        throw EReadError("Invalid property value");
    }
}

std::int32_t ReadIntValue(TstreamReader& s)
{
    return ReadIntOfType(s, s.ReadByte());
}

std::string ReadTextValue(TstreamReader& s)
{
    switch (s.ReadByte()) {
    case vaString:
        return s.ReadString(s.ReadByte());
    case vaLString:
    case vaUTF8String: {
        const std::int32_t length = s.ReadInt32();
        if (length < 0)
            throw EReadError("Invalid property value");
        return s.ReadString(static_cast<std::size_t>(length));
    }
    default:
        throw EReadError("Invalid property value");
    }
}

// The same into a buffer the caller keeps (a song splits its file name into parts, so the name needs no
// string of its own); the text's length is checked against what the stream holds before the buffer grows.
void ReadTextValueInto(TstreamReader& s, std::string& text)
{
    std::size_t length = 0;
    switch (s.ReadByte()) {
    case vaString:
        length = s.ReadByte();
        break;
    case vaLString:
    case vaUTF8String: {
        const std::int32_t size = s.ReadInt32();
        if (size < 0)
            throw EReadError("Invalid property value");
        length = static_cast<std::size_t>(size);
        break;
    }
    default:
        throw EReadError("Invalid property value");
    }
    if (length > s.Remaining()) {
        s.Skip(length); // throws the stream's own error
    }
    text.resize(length);
    s.ReadBuffer(text.data(), length);
}

double ReadFloatValue(TstreamReader& s)
{
    const std::uint8_t type = s.ReadByte();
    switch (type) {
    case vaExtended: {
        unsigned char b[10];
        s.ReadBuffer(b, sizeof b);
        return ExtendedToDouble(b);
    }
    case vaDate:
    case vaDouble: {
        unsigned char b[8];
        s.ReadBuffer(b, sizeof b);
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | b[i];
        double d = 0;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    default:
        return ReadIntOfType(s, type);
    }
}

void WriteModDateProp(TstreamWriter& s, std::string_view name, const TaudioTag& song)
{
    if (song.ModDate() == 0)
        return;
    WriteShortString(s, name);
    s.WriteByte(vaExtended);
    unsigned char b[10];
    DoubleToExtended(song.ModDate(), b);
    s.WriteBuffer(b, sizeof b);
}

// A date no file can have (not a number, infinite, outside the calendar) is damage: the song reads as
// undated, so the next scan takes the file's real time.
void ReadModDateProp(TstreamReader& s, TaudioTag& song)
{
    const double value = ReadFloatValue(s);
    song.SetModDate(platform::IsValidDateTime(value) ? value : 0);
}

// One published property: how it is written (nothing when at its default) and read back.
struct Property
{
    std::string_view name;
    void (*write)(TstreamWriter& s, std::string_view name, const TaudioTag& song);
    void (*read)(TstreamReader& s, TaudioTag& song);
};

template <auto Get, auto Set>
constexpr Property TextProperty(std::string_view name)
{
    return {name,
            [](TstreamWriter& s, std::string_view n, const TaudioTag& song) {
                WriteTextProp(s, n, (song.*Get)());
            },
            [](TstreamReader& s, TaudioTag& song) { (song.*Set)(ReadTextValue(s)); }};
}

// This thread's one scratch string for the text values a load copies at once.
std::string& ScratchText()
{
    thread_local std::string text;
    return text;
}

// Reads a text value into the scratch string and hands it to use (no string made and freed per song).
template <class Use>
void UseTextValue(TstreamReader& s, const Use& use)
{
    std::string& text = ScratchText();
    ReadTextValueInto(s, text);
    use(text);
    if (text.capacity() > 4096)
        std::string().swap(text); // no lasting room for a rare long text
}

// A text property held as a shared text: read into this thread's batch of texts when there is one.
template <auto Get, auto Set, TsharedTextBatch::Field F>
constexpr Property SharedTextProperty(std::string_view name)
{
    return {name,
            [](TstreamWriter& s, std::string_view n, const TaudioTag& song) {
                WriteTextProp(s, n, (song.*Get)());
            },
            [](TstreamReader& s, TaudioTag& song) {
                if (TsharedTextBatch* batch = TsharedTextBatch::Active()) {
                    UseTextValue(s, [&](const std::string& text) { batch->Keep(song, F, text); });
                } else {
                    (song.*Set)(ReadTextValue(s));
                }
            }};
}

template <auto Get, auto Set>
constexpr Property UIntProperty(std::string_view name)
{
    return {
        name,
        [](TstreamWriter& s, std::string_view n, const TaudioTag& song) {
            WriteUIntProp(s, n, (song.*Get)());
        },
        [](TstreamReader& s, TaudioTag& song) { (song.*Set)(static_cast<std::uint32_t>(ReadIntValue(s))); }};
}

// In the order they are written.
constexpr Property kProperties[] = {
    {"Tag",
     [](TstreamWriter& s, std::string_view n, const TaudioTag& song) {
         if (song.Tag() != 0)
             WriteIntProp(s, n, song.Tag());
     },
     [](TstreamReader& s, TaudioTag& song) { song.SetTag(ReadIntValue(s)); }},
    {"Filename",
     [](TstreamWriter& s, std::string_view n, const TaudioTag& song) {
         WriteTextProp(s, n, song.Filename());
     },
     [](TstreamReader& s, TaudioTag& song) {
         UseTextValue(s, [&song](const std::string& name) { song.SetFilename(name); });
     }},
    SharedTextProperty<&TaudioTag::Artist, &TaudioTag::SetArtist, TsharedTextBatch::fArtist>("Artist"),
    TextProperty<&TaudioTag::Title, &TaudioTag::SetTitle>("Title"),
    SharedTextProperty<&TaudioTag::Album, &TaudioTag::SetAlbum, TsharedTextBatch::fAlbum>("Album"),
    SharedTextProperty<&TaudioTag::Comment, &TaudioTag::SetComment, TsharedTextBatch::fComment>("Comment"),
    UIntProperty<&TaudioTag::TrackNo, &TaudioTag::SetTrackNo>("TrackNo"),
    SharedTextProperty<&TaudioTag::Date, &TaudioTag::SetDate, TsharedTextBatch::fDate>("Date"),
    UIntProperty<&TaudioTag::GenreID, &TaudioTag::SetGenreID>("GenreID"),
    SharedTextProperty<&TaudioTag::GenreString, &TaudioTag::SetGenreString, TsharedTextBatch::fGenreString>(
        "GenreString"),
    UIntProperty<&TaudioTag::BitRate, &TaudioTag::SetBitRate>("BitRate"),
    UIntProperty<&TaudioTag::Duration, &TaudioTag::SetDuration>("Duration"),
    UIntProperty<&TaudioTag::SampleRate, &TaudioTag::SetSampleRate>("SampleRate"),
    UIntProperty<&TaudioTag::Channels, &TaudioTag::SetChannels>("Channels"),
    SharedTextProperty<&TaudioTag::TagType, &TaudioTag::SetTagType, TsharedTextBatch::fTagType>("TagType"),
    {"ModDate", WriteModDateProp, ReadModDateProp},
    UIntProperty<&TaudioTag::MediaType, &TaudioTag::SetMediaType>("MediaType"),
};

} // namespace

void DoubleToExtended(double value, unsigned char out[10])
{
    std::uint64_t mantissa = 0;
    std::uint16_t exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        const double f = std::frexp(std::fabs(value), &e); // value = f * 2^e, 0.5 <= f < 1
        mantissa = static_cast<std::uint64_t>(std::ldexp(f, 64));
        exponent = static_cast<std::uint16_t>(e - 1 + 16383);
    }
    if (negative)
        exponent |= 0x8000;
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<unsigned char>(mantissa >> (8 * i));
    out[8] = static_cast<unsigned char>(exponent & 0xFF);
    out[9] = static_cast<unsigned char>(exponent >> 8);
}

double ExtendedToDouble(const unsigned char in[10])
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | in[i];
    const int raw = in[8] | (in[9] << 8);
    const bool negative = raw & 0x8000;
    const int exponent = raw & 0x7FFF;
    double value = 0;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // Denormals have the exponent of the smallest normal; the integer bit is explicit either way.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(mantissa), e);
    }
    return negative ? -value : value;
}

void WriteAudioTagComponent(TstreamWriter& s, const TaudioTag& song)
{
    s.WriteBytes("TPF0");
    WriteShortString(s, kAudioTagClassName);
    WriteShortString(s, "");
    for (const Property& p : kProperties)
        p.write(s, p.name, song);
    s.WriteByte(vaNull);
    s.WriteByte(vaNull);
}

std::unique_ptr<TaudioTag> ReadAudioTagComponent(TstreamReader& s)
{
    char text[256];
    char signature[4];
    s.ReadBuffer(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0)
        throw EReadError("Invalid stream format");

    std::uint8_t length = s.ReadByte();
    // Optional filer flags (inherited, child position, inline) come before the class name.
    if ((length & 0xF0) == 0xF0) {
        if (length & 0x02)
            ReadIntValue(s);
        length = s.ReadByte();
    }
    s.ReadBuffer(text, length);
    const std::size_t classLength = std::strlen(kAudioTagClassName);
    if (length != classLength || !SameAscii(text, kAudioTagClassName, classLength))
        throw EClassNotFound("Class " + std::string(text, length) + " not found");
    s.Skip(s.ReadByte()); // component name

    auto song = std::make_unique<TaudioTag>();
    // A song that fails to read goes, and with it the texts kept for it.
    TsharedTextBatch* const batch = TsharedTextBatch::Active();
    bool whole = false;
    const platform::TScopeExit dropTexts([&song, &whole, batch] {
        if (batch && !whole)
            batch->Drop(*song);
    });
    // Properties come in the order they are written: the search starts after the one found last.
    constexpr std::size_t count = std::size(kProperties);
    std::size_t next = 0;
    for (;;) {
        length = s.ReadByte();
        if (length == 0)
            break;
        s.ReadBuffer(text, length);
        const Property* found = nullptr;
        for (std::size_t k = 0; k < count && !found; ++k) {
            const Property& p = kProperties[(next + k) % count];
            if (p.name.size() == length && SameAscii(text, p.name.data(), length)) {
                found = &p;
                next = (next + k + 1) % count;
            }
        }
        if (!found)
            throw EReadError("Property " + std::string(text, length) + " does not exist");
        found->read(s, *song);
    }
    // A song has no child components.
    if (s.ReadByte() != vaNull)
        throw EReadError("Invalid stream format");
    whole = true; // its texts stay kept
    return song;
}

namespace {
thread_local TsharedTextBatch* t_sharedTextBatch = nullptr;
} // namespace

TsharedTextBatch::TsharedTextBatch() : outer_(t_sharedTextBatch)
{
    t_sharedTextBatch = this;
}

TsharedTextBatch::~TsharedTextBatch()
{
    t_sharedTextBatch = outer_;
}

TsharedTextBatch* TsharedTextBatch::Active()
{
    return t_sharedTextBatch;
}

void TsharedTextBatch::Keep(TaudioTag& song, Field field, std::string_view text)
{
    kept_.push_back(Kept{&song, texts_.size(), static_cast<std::uint32_t>(text.size()), field});
    texts_.append(text);
}

void TsharedTextBatch::Drop(const TaudioTag& song)
{
    std::erase_if(kept_, [&song](const Kept& k) { return k.song == &song; });
}

void TsharedTextBatch::File()
{
    static constexpr TsharedText TaudioTag::*kFields[] = {&TaudioTag::artist_,      &TaudioTag::album_,
                                                          &TaudioTag::comment_,     &TaudioTag::date_,
                                                          &TaudioTag::genreString_, &TaudioTag::tagType_};
    std::vector<std::string_view> texts;
    texts.reserve(kept_.size());
    for (const Kept& k : kept_)
        texts.push_back(std::string_view(texts_).substr(k.from, k.size));
    std::vector<TsharedText> shared(kept_.size());
    TsharedText::MakeMany(texts.data(), shared.data(), texts.size());
    for (std::size_t i = 0; i < kept_.size(); ++i)
        kept_[i].song->*kFields[kept_[i].field] = std::move(shared[i]);
    kept_.clear();
    texts_.clear();
}
